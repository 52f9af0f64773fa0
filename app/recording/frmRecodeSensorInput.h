// The periodic recording set-up of a map reached through sensor input only,
// and the sensor inputs' set-up of a bus or board map that records them:
// interval, stop method and record time (greyed for a bus or board map,
// whose periodic set-up sets them), the expected size beside the free
// space, and the eight measurement inputs of the sensor adapter.
//
// Interval, stop method and minutes are written into the current map as
// they change; the inputs only by "Set. completed", which also hands them
// to the library. The map window calls the public methods whether the
// dialog is open or not; they never load it.
#pragma once

#include "frame/key_table.h"
#include "frame/single_form.h"
#include "recording/recode_sections.h"
#include "recording/sensor_items.h"

#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class RecodeConditionControls;

class frmRecodeSensorInput : public SingleForm<frmRecodeSensorInput, DialogForm>, public RecodeSetUpSections {
  Q_OBJECT
 public:
  // 1 ("7-1" shown) when the recording stops by time without minutes, else
  // 0; the focus goes to the record time box when the dialog shows it.
  void checkRecodeData(int32_t& result);
  // True when a recording stopped by time needs more than the free space
  // of the program folder's disk; never asked for a recording stopped by
  // hand.
  void whetherFileSizeOver(bool& over);
  // The adapter's switches taken, the eight inputs handed to the library.
  void setSensorData();

  // Sections 1 to 3 beyond RecodeSetUpSections: the expected size.
  QLabel* lblFileSize = nullptr;
  QLineEdit* txtFileSize = nullptr;
  QLabel* lblFileSizeUnit = nullptr;
  // Section 4: one row per input, index 0 for input 1.
  QLabel* lblDataItems = nullptr;
  std::array<QCheckBox*, kSensorInputs> chk{};
  std::array<QLabel*, kSensorInputs> lblName{};
  std::array<QLineEdit*, kSensorInputs> txtName{};
  // Inputs 7 and 8 beyond the check and the name, index 0 for input 7.
  struct AnalogControls {
    QGroupBox* fra = nullptr;
    std::array<QRadioButton*, 2> optLevel{};  // "0 - 5V", "0 - 1V"
    QLabel* lblOffset = nullptr;
    QLineEdit* txtOffset = nullptr;
    QLabel* lblFullScale = nullptr;
    QLineEdit* txtFullScale = nullptr;
    QLabel* lblUnit = nullptr;
    QLineEdit* txtUnit = nullptr;
  };
  std::array<AnalogControls, 2> analogInputs;

  QPushButton* cmdEnd = nullptr;
  QPushButton* cmdCancel = nullptr;

  static constexpr int kWidth = 8000;
  static constexpr int kHeight = 5600;

 protected:
  frmRecodeSensorInput();
  void onLoad() override;
  void onUnload() override;
  void onActivate() override;
  void showEvent(QShowEvent* event) override;

 private:
  void makeConditionControls();
  void makeSizeControls();
  void makeItemRows();
  void makeAnalogRow(int index, int top);
  void setFormCaption();
  void setControlCaptions();
  void showFileSize();
  void greyRecordingSections();
  void showSensorItems();
  void fillSensorItems(const SensorItemEntries& entries, bool withRanges);
  void showSwitchPositions();
  SensorItemEntries enteredItems() const;
  bool checkSensorValues();
  void saveSensorItems();
  void sensorItemChanged();
  void cmdEnd_Click();

  RecodeConditionControls* conditions_ = nullptr;
  KeyTable keys_;
};
