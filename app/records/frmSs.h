// The service-station editor: the station's name, address, telephone and
// fax numbers and its contact persons. The combo box holds a working copy
// of the contacts; Save puts them, with the texts, into serviceShop and
// writes pelomar3.dam. Save and Cancel bring the main menu back.
#pragma once

#include "frame/key_table.h"
#include "frame/single_form.h"
#include "frame/work_form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmSs : public SingleForm<frmSs, WorkForm> {
  Q_OBJECT
 public:
  QLineEdit* txtSsName = nullptr;
  QLineEdit* txtSsAddress = nullptr;
  QLineEdit* txtSsTel = nullptr;
  QLineEdit* txtSsFax = nullptr;
  QComboBox* cboSsChargeMen = nullptr;
  QLabel* lblSsName = nullptr;
  QLabel* lblSsAddress = nullptr;
  QLabel* lblSsTel = nullptr;
  QLabel* lblSsFax = nullptr;
  QLabel* lblSsChargeMan = nullptr;
  QPushButton* cmdAdd = nullptr;
  QPushButton* cmdDelete = nullptr;
  QPushButton* cmdSave = nullptr;
  QPushButton* cmdCancel = nullptr;

  static constexpr int kWidth = 7000;
  static constexpr int kHeight = 4500;

 protected:
  frmSs();
  void onLoad() override;
  void onActivate() override;

 private:
  void setStationEditorCaptions();
  void showStationFields();
  void storeStationFields();
  void add();
  void remove();
  void save();

  KeyTable keys_;
};
