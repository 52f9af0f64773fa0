// The trigger recording set-up of the current map: the minutes recorded
// before and after the trigger, the one system recorded, and two trigger
// conditions for each two-state or code item of that system's units, with
// the expected file size beside the free space. Every change goes into the
// map and into the map window's trigger-condition model at once; "Set.
// completed (F1)" only checks and closes, "Cancel (Esc)" only closes. While
// trigger recording runs, the window only shows.
//
// The map window calls the public procedures before and at a trigger start
// whether the window is open or not; they work on the map and the model and
// never load the window.
#pragma once

#include "frame/key_table.h"
#include "frame/single_form.h"

#include <cstdint>

struct GraphSystem;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class frmRecodeTrigger : public SingleForm<frmRecodeTrigger, ChildForm> {
  Q_OBJECT
 public:
  // 0 when trigger recording may start; 1 ("9-1") without a record time
  // above 0, 2 ("9-2") without any condition set. The focus goes to the
  // field at fault when the window is shown.
  enum : int32_t { kTriggerReady = 0, kTriggerTimeMissing = 1, kTriggerConditionMissing = 2 };
  void checkRecodeTriggerData(int32_t& result);
  // True when the marked system's trigger file would not fit on the
  // program folder's disk.
  void whetherFileSizeOver(bool& over);
  // Hands every condition of the model to the library.
  void setTriggerConditionForSave();
  // Empties the model.
  void deleteSystemTriggerObj();

  QLabel* lblTime = nullptr;
  QLineEdit* txtTime = nullptr;
  QLabel* lblMinute = nullptr;
  QLabel* lblTimeElse1 = nullptr;
  QLabel* lblTimeElse2 = nullptr;
  QGroupBox* fraTrigger = nullptr;
  QLabel* lblSystemSelect = nullptr;
  QTableWidget* grdSystemSelect = nullptr;
  QLabel* lblFreeDisk = nullptr;
  QLineEdit* txtFreeDisk = nullptr;
  QLabel* lblFreeDiskUnit = nullptr;
  QLabel* lblFreeDiskElse = nullptr;
  QLabel* lblCondition = nullptr;
  QTableWidget* grdCondition = nullptr;
  // Floats over the condition cell being chosen, hidden otherwise.
  QComboBox* cboCondition = nullptr;
  QPushButton* cmdEnd = nullptr;
  QPushButton* cmdCancel = nullptr;

  // The window's outer size.
  static constexpr int kWidth = 8000;
  static constexpr int kHeight = 5600;

 protected:
  frmRecodeTrigger();
  void onLoad() override;
  void onActivate() override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void makeTimeControls();
  void makeSystemControls();
  void makeConditionControls();
  void setFormCaption();
  void setControlCaptions();
  void setSystemGridHeader();
  void setConditionGridHeader();
  void showSystemRows();
  void highlightTriggerSystemRow();
  void selectTriggerSystem(int row);
  // The model's procedures as the window runs them.
  void setAirconToSystemTriggerObj();
  void setDataItemToSystemTriggerObj();
  void rebuildSystemTriggerObj();
  void remakeSystemTriggerObj();
  void showTriggerCondition();
  bool getTriggerConString(QString& state0, QString& state1, int32_t& condition);
  void setTriggerConditionFromCombo();
  void showTriggerFileSize();
  // Handlers.
  void txtTime_Change();
  void grdSystemSelect_Click(int row);
  void grdCondition_Click();
  void cboCondition_Click();
  void cmdEnd_Click();

  GraphSystem* model() const;

  // The grid row (from 1) that holds the system grid's cursor; once
  // confirmed, the row of the chosen system. 0 while the map has none.
  int triggerSystemRow = 0;
  bool focusFirstControl_ = false;
  KeyTable keys_;
};
