// The data-transfer window: copies customer data and recorded files between
// folders. When it closes the data function is free again; its Cancel brings
// the main menu back.
//
// For now the window opens empty; its content comes with the customer
// records.
#pragma once

#include "frame/single_form.h"
#include "frame/work_form.h"

class frmDataTransfer : public SingleForm<frmDataTransfer, WorkForm> {
  Q_OBJECT

 protected:
  frmDataTransfer();
  void onLoad() override;
  void onUnload() override;
};
