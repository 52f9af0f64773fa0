// The window of the customer list: the first window of recording work and of customer-records work. When it is cancelled the work ends and the main menu comes back.
//
// For now the window opens empty; its content comes with the customer
// records.
#pragma once

#include "frame/form.h"

class frmCustomsList : public ChildForm {
  Q_OBJECT
 public:
  static frmCustomsList& instance();

 protected:
  void onLoad() override;
  void onUnload() override;

 private:
  frmCustomsList();
  template <class T>
  friend T& programInstance();
};
