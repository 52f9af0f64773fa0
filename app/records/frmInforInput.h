// The unit information editor: for each unit of one system of the shown
// map, the customer-record data kept about it (install site, model number,
// model name, centralized address). The data live in the map's records,
// which the units name by link number; Save writes the fields into the
// record shown, and a record chosen in the list (frmInforList) is given to
// the unit, exchanging records with the unit that held it. Nothing is
// written to a file here: the map window stores the map.
//
// The map window opens it on the system chosen on its display; the system
// stays fixed until the window is opened again.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

#include "frame/key_table.h"
#include "frame/single_form.h"
#include "records/unit_links.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmInforInput : public SingleForm<frmInforInput, ChildForm> {
  Q_OBJECT
 public:
  // The record the fields belong to; Save writes into it. 0 for none.
  int32_t linkNoInforList = 0;
  // True while the list is open from this window.
  bool flagInforListExist = false;

  // Checks the centralized address, writes the fields into record
  // linkNoInforList and gives that record to the unit shown; the list and
  // the map display show the result.
  void saveData();

  QComboBox* cboAirconNumber = nullptr;
  QLineEdit* txtPlace = nullptr;
  QLineEdit* txtSerialNumber = nullptr;
  QComboBox* cboKind = nullptr;
  QLineEdit* txtControlAddress = nullptr;
  QLineEdit* txtAutoAddress = nullptr;
  QLineEdit* txtZubrelAddress = nullptr;
  // "1. Airconditioner selection", "2. Detail data input", then the labels
  // of the six fields from install site to Zubrel address.
  std::array<QLabel*, 8> lbl{};
  QPushButton* cmdSave = nullptr;
  QPushButton* cmdShowList = nullptr;
  QPushButton* cmdCancel = nullptr;

  static constexpr int kWidth = 6000;
  static constexpr int kHeight = 4500;

 protected:
  frmInforInput();
  void onLoad() override;
  void onUnload() override;
  void onActivate() override;

 private:
  void fillUnitList();
  void selectUnit(int entry);
  void clearDetailFields();
  void showRecord(const LinkAircon& record);
  void addModelCandidates(const QString& modelText);
  void setFormCaption();
  void setControlCaptions();
  void showList();
  void copyFromList(int32_t linkNo);
  void listClosed();
  void showListOn(int32_t linkNo, bool refill);

  UnitSystemChoice selectedSystem_;
  QString systemModelText_;
  std::shared_ptr<MapAircon> selectedUnit_;
  // The link number of the shown unit's record when it was shown or last
  // saved; 0 when it has none.
  int32_t linkNoShown_ = 0;
  KeyTable keys_;
};
