// The unit information list: every customer-record data of the shown map,
// whether a unit holds it or not. Copy hands the chosen record to the unit
// information editor, which writes it back and gives it to its unit; the
// list itself changes nothing. It is opened from the editor only.
#pragma once

#include <cstdint>

#include "frame/key_table.h"
#include "frame/single_form.h"

class QPushButton;
class QTableWidget;

class frmInforList : public SingleForm<frmInforList, ChildForm> {
  Q_OBJECT
 public:
  // The position (from 1, in the map's record order) of the chosen record;
  // kept while the program runs, 0 before the first.
  int32_t SelectDataRow = 0;

  // Fills the grid from the map's records and selects SelectDataRow.
  void showInforList();
  // Selects row SelectDataRow whole and scrolls it to the top.
  void selectDataFromList();
  // SelectDataRow = the position of the record with that link number, or 1.
  void setSelectDataRowFromLinkNo(int32_t linkNo);
  // The link number of the record at SelectDataRow; that of the first
  // record when there is none there (or it carries 0); 0 without records.
  int32_t getLinkNoFromSelectDataRow() const;

  QTableWidget* grdList = nullptr;
  QPushButton* cmdCopy = nullptr;
  QPushButton* cmdCancel = nullptr;

  static constexpr int kClientWidth = 6405;
  static constexpr int kClientHeight = 4125;

 signals:
  // Copy: the record with this link number goes to the editor's unit.
  void recordCopied(int32_t linkNo);
  // The window has unloaded.
  void closed();

 protected:
  frmInforList();
  void onLoad() override;
  void onUnload() override { emit closed(); }
  void onActivate() override;

 private:
  void setFormCaption();
  void setControlCaptions();
  void copy();

  KeyTable keys_;
};
