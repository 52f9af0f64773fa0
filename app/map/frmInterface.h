// The access-method window: names a new network map and chooses how the
// adapter reaches the installation (the Q7 bus, a board connection, or
// sensor input only). Fixing the choice starts gathering and opens the map
// window on a new, empty map that the first bus scan fills. The same window
// renames an existing map without touching gathering.
#pragma once

#include "frame/key_table.h"
#include "frame/single_form.h"
#include "types/MapQ7net.h"

#include <array>
#include <cstdint>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmInterface : public SingleForm<frmInterface, ChildForm> {
  Q_OBJECT
 public:
  // For the current customer, or recording without a customer.
  enum : int32_t { kForCustomer = 0, kRecordOnly = 1 };
  int32_t interfaceMode = kForCustomer;
  // A new map, or renaming mapQ7netForEdit.
  enum : int32_t { kNewMap = 0, kRenameMap = 1 };
  int32_t interfaceMapNameMode = kNewMap;
  std::shared_ptr<MapQ7net> mapQ7netForEdit;

  // Opens the window afresh for a new map (recording with or without a
  // customer) or to rename `mapForEdit`; the openers may also set the
  // members and show the window.
  void showForMap(int32_t mode, int32_t mapNameMode, std::shared_ptr<MapQ7net> mapForEdit = {});

  // Starts gathering for the chosen method and opens the map window on a new
  // map; a failed start is undone at once and the window stays.
  void doFix();
  // OK: the refusals in their order, the rename, or the start (for the bus
  // after the standby warning).
  void cmdFix_Click();
  void cancel() override;

  QLabel* lblMapName = nullptr;
  QLineEdit* txtMapName = nullptr;
  QLabel* lblMethod = nullptr;
  std::array<QRadioButton*, 3> optMethod{};  // Q7 bus, board connection, sensor input only
  QLabel* lblPBoardConect = nullptr;
  QComboBox* cboPBoardConect = nullptr;
  QPushButton* cmdFix = nullptr;
  QPushButton* cmdCancel = nullptr;

  static constexpr int kWidth = 5700;
  static constexpr int kHeight = 3700;

 protected:
  frmInterface();
  void onLoad() override;
  void onActivate() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void showCaption();
  void chooseMethod(int index);
  void optMethod_Click(int index);
  void fillModelList();
  void cboPBoardConect_Click();
  // False (with the message shown) when the name may not be used.
  bool nameAccepted(const QString& name);
  void rename(const QString& name);
  std::shared_ptr<MapQ7net> newMap() const;

  KeyTable keys_;
  int32_t boardSystemModels_ = 0;  // models of whole systems, listed first
  int32_t boardUnitModels_ = 0;    // models of single units, after them
};
