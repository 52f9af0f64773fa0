// The window of the customer list: the first window of recording work and
// of customer-records work. Every opening starts from a blank current
// customer. Its Cancel ends the work (work mode 2) and brings the main menu
// back; a window that takes its place (the access-method window of "Record
// only") leaves the work going.
//
// For now the window offers only "Record only"; the list of customers comes
// with the customer records.
#pragma once

#include "frame/key_table.h"
#include "frame/single_form.h"
#include "frame/work_form.h"

class QLabel;
class QPushButton;

class frmCustomsList : public SingleForm<frmCustomsList, WorkForm> {
  Q_OBJECT
 public:
  // Recording without a customer: the list gives way to the access-method
  // window for a new map. Greyed in customer-records work.
  QPushButton* cmdRecodeOnly = nullptr;
  QLabel* lblRecodeOnly = nullptr;

 protected:
  frmCustomsList();
  void onLoad() override;
  void onCancel() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void cmdRecodeOnly_Click();

  KeyTable keys_;
};
