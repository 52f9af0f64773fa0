// The window of the data-transfer window: copies customer data and recorded files between folders. When it closes the main menu comes back.
//
// For now the window opens empty; its content comes with the customer
// records.
#pragma once

#include "frame/form.h"

class frmDataTransfer : public ChildForm {
  Q_OBJECT
 public:
  static frmDataTransfer& instance();

 protected:
  void onLoad() override;
  void onUnload() override;

 private:
  frmDataTransfer();
  template <class T>
  friend T& programInstance();
};
