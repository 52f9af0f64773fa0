// The customer list: the first window of recording work and of
// customer-records work. It lists every customer folder of the program
// folder, lets the engineer choose the station's contact person, and leads
// on: recording without a customer, the map list of a chosen customer, the
// customer editor for a new or an existing customer, or the deletion of a
// customer with its recordings. Its Cancel ends the work (work mode 2) and
// brings the main menu back; the other roads leave the work going.
#pragma once

#include "frame/key_table.h"
#include "frame/single_form.h"
#include "frame/work_form.h"
#include "types/DataShowManager.h"

#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

class frmCustomsList : public SingleForm<frmCustomsList, WorkForm> {
  Q_OBJECT
 public:
  // Deletes the customer of the selected row: its customer file and
  // recordings, and its folder when nothing else is left in it.
  void deleteCustom();

  QTableWidget* grdList = nullptr;
  QComboBox* cboSsChargeMen = nullptr;
  QLabel* lblCustom = nullptr;
  QLabel* lblSsChargeMan = nullptr;
  QLabel* lblRecodeOnly = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdFix = nullptr;
  QPushButton* cmdNew = nullptr;
  QPushButton* cmdEdit = nullptr;
  QPushButton* cmdDelete = nullptr;
  QPushButton* cmdRecodeOnly = nullptr;

  // The customers, built afresh at every opening.
  std::shared_ptr<DataShowManager> customerList;
  // The grid row (from 1) of the last selection; kept from one opening to
  // the next, 0 before the first.
  int selectedRow = 0;

  static constexpr int kWidth = 7215;
  static constexpr int kHeight = 5130;

 protected:
  frmCustomsList();
  void onLoad() override;
  void onActivate() override;
  void onCancel() override;

 private:
  void setCustomerListCaptions();
  void buildCustomerList();
  void releaseCustomerList();
  void setCustomerGridHeadings();
  void fillCustomerGrid();
  void fillContactCombo();
  void saveContactChoice();
  bool isSingleRowSelected() const;
  void disableButtonsForWork();
  void restoreButtonsAfterWork();

  std::array<QPushButton*, 6> buttons() const;
  int customerCount() const;
  QString selectedCustomerId() const;
  // The roads: each notes the selected row first; those that act on one
  // customer refuse several rows.
  void noteSelectedRow();
  bool takeSingleRow();
  bool loadSelectedCustomer();
  void leaveForWork();
  void recordOnly();
  void selectCustomer();
  void newCustomer();
  void editCustomer();
  void askDeleteCustomer();
  void openEditor(int32_t customMode);

  std::array<bool, 6> buttonsEnabled_{};
  KeyTable keys_;
};
