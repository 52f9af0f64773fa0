// The window of the customer list: the first window of recording work and
// of customer-records work. Its Cancel ends the work (work mode 2) and
// brings the main menu back; a window that takes its place (the access-method
// window of "Record only") leaves the work going.
//
// For now the window opens empty; its content comes with the customer
// records.
#pragma once

#include "frame/single_form.h"
#include "frame/work_form.h"

class frmCustomsList : public SingleForm<frmCustomsList, WorkForm> {
  Q_OBJECT

 protected:
  frmCustomsList();
  void onLoad() override;
  void onCancel() override;
};
