// The trigger conditions a trigger recording was made with, read-only: the
// recording's length in minutes, its system and size, and one row per
// stored condition of each unit, as the library reads them from the file.
// The customer data window sets the file and shows the window, or has an
// open one show another file (showAll).
#pragma once

#include "frame/key_table.h"
#include "frame/single_form.h"
#include "types/DataShowCustom.h"
#include "types/DataShowFile.h"
#include "types/GraphSystem.h"

#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class frmTriggerConditionShow : public SingleForm<frmTriggerConditionShow, ChildForm> {
  Q_OBJECT
 public:
  // Fills the whole window anew from the two members.
  void showAll();

  std::shared_ptr<DataShowCustom> dataShowCustomThisForm;
  std::shared_ptr<DataShowFile> dataShowFileThisForm;

  QLabel* lblTime = nullptr;
  QLineEdit* txtTime = nullptr;  // minutes; never read back
  QLabel* lblMinute = nullptr;
  QGroupBox* fraTrigger = nullptr;
  QLabel* lblSystemSelect = nullptr;
  QTableWidget* grdSystemSelect = nullptr;
  QLabel* lblCondition = nullptr;
  QTableWidget* grdCondition = nullptr;
  QPushButton* cmdCancel = nullptr;

  static constexpr int kWidth = 8000;
  static constexpr int kHeight = 5600;

 signals:
  // The window has unloaded.
  void closed();

 protected:
  frmTriggerConditionShow();
  void onLoad() override;
  void onUnload() override { emit closed(); }
  void onActivate() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void setFormCaption();
  void setControlCaptions();
  void showRecordTime();
  void showTriggerSystem();
  void showTriggerConditions();
  void setAirconToTriggerShowObj();
  void readTriggerConditions();
  void readUnitConditions(GraphAircon& unit, const char* prefix, int& shown);
  void showConditionGrid();

  GraphSystem& triggerShow();

  std::shared_ptr<GraphSystem> triggerShowObj;
  KeyTable keys_;
};

// The text a stored trigger condition shows: "IGNORED" for an empty one; a
// two-state item's text as stored; a code item's "0" and "1" as "NORMAL"
// and "ERROR", any other text nothing.
QString triggerConditionText(int32_t dataType, const QString& stored);
