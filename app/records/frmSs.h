// The service-station editor. Its Cancel brings the main menu back.
//
// For now the window opens empty; its content comes with the customer
// records.
#pragma once

#include "frame/single_form.h"
#include "frame/work_form.h"

class frmSs : public SingleForm<frmSs, WorkForm> {
  Q_OBJECT

 protected:
  frmSs();
  void onLoad() override;
};
