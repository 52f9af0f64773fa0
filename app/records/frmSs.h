// The window of the service-station editor. When it closes the main menu comes back.
//
// For now the window opens empty; its content comes with the customer
// records.
#pragma once

#include "frame/form.h"

class frmSs : public ChildForm {
  Q_OBJECT
 public:
  static frmSs& instance();

 protected:
  void onLoad() override;
  void onUnload() override;

 private:
  frmSs();
  template <class T>
  friend T& programInstance();
};
