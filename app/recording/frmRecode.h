// The periodic recording set-up of a bus or board map: interval, stop
// method and minutes, the systems recorded with their expected sizes, the
// total beside the free space, and whether the sensor inputs are recorded
// and with which system. Every change goes into the current map at once;
// "Set. completed (F1)" only checks and closes, "Cancel (Esc)" only closes.
// While periodic recording runs, every control springs back to the map's
// value.
//
// The map window calls the checks before a start whether the window is open
// or not: a closed window is then loaded without being shown, with the
// effects of its opening on the map (systems without a unit on line
// unmarked, the sensor system made or removed to match the mode), and
// stays loaded and hidden until it is shown or unloaded.
#pragma once

#include "frame/key_table.h"
#include "frame/single_form.h"
#include "recording/recode_sections.h"

#include <array>
#include <cstdint>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class RecodeConditionControls;

// Sections 1 to 3 (interval, stop method and minutes, free disk) come from
// RecodeSetUpSections.
class frmRecode : public SingleForm<frmRecode, ChildForm>, public RecodeSetUpSections {
  Q_OBJECT
 public:
  // 0 when a recording may start; 1 ("7-1") when it stops by time without
  // minutes; 2 ("7-2") when no system is left to record (systems without a
  // unit on line lose their marks on the way). The focus goes to the field
  // at fault when the window is shown.
  void checkRecodeData(int32_t& result);
  // The expected bytes of one system (library system number).
  void getFileSize(int32_t systemNo, double& size);
  // True when a recording stopped by time would not fit on the program
  // folder's disk; a recording stopped by hand is never compared.
  void whetherFileSizeOver(bool& over);

  QLabel* lblSystemSelect = nullptr;
  QTableWidget* grdSystemSelect = nullptr;
  QLabel* lblTotalSize = nullptr;
  QLineEdit* txtTotalSize = nullptr;
  QLabel* lblTotalSizeUnit = nullptr;
  QLabel* lblSensorInput = nullptr;
  QGroupBox* fraSensorInput = nullptr;
  std::array<QRadioButton*, 2> optSensorInput{};  // "No recording", "Recording"
  QLabel* lblSensorInputSystem1 = nullptr;
  QComboBox* cboSensorInputSystem = nullptr;
  QLabel* lblSensorInputSystem2 = nullptr;
  QPushButton* cmdSensorInput = nullptr;
  QPushButton* cmdEnd = nullptr;
  QPushButton* cmdCancel = nullptr;

  // The design's inner size.
  static constexpr int kWidth = 7905;
  static constexpr int kHeight = 5205;

  // Cancel (Esc, the close box): closes, and the map window's buttons are
  // shown anew.
  void cancel() override;

 protected:
  frmRecode();
  void onLoad() override;
  void onActivate() override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void makeConditionControls();
  void makeSystemControls();
  void makeSensorControls();
  void setFormCaption();
  void setControlCaptions();
  void setSystemGridHeader();
  void showSystemRows();
  void showMarks();
  void highlightRecodeSystemRow();
  void selectRecodeSystem(int row);
  void showRecodeFileSize();
  void showRunningState();
  void enableSensorSystem(bool enabled);
  void selectSensorSystem();
  void optSensorInput_Click(int index);
  void cboSensorInputSystem_Click();
  void grdSystemSelect_Click(int row);
  void cmdSensorInput_Click();
  void cmdEnd_Click();

  RecodeConditionControls* conditions_ = nullptr;
  // The grid row (from 1) that holds the cursor.
  int recodeSystemRow = 1;
  bool focusFirstControl_ = false;
  KeyTable keys_;
};
