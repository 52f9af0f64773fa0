// The customer data window: the recorded files of every customer, from
// which replay display windows are opened.
//
// For now the window carries what the main menu and the end of the program
// use: its replay windows, its end flag and its open state.
#pragma once

#include "frame/form.h"
#include "types/Collection.h"

class frmDataShow;

class frmCustomsData : public ChildForm {
  Q_OBJECT
 public:
  static frmCustomsData& instance();

  // Drops the window of the same formNumber from dataShowForms, if any.
  void removeFormDataShow(const frmDataShow& form);

  // The open replay windows, keyed by their formNumber as text.
  Collection<frmDataShow> dataShowForms;
  // Set by the end of the program so that the window's handlers wind down.
  bool flagForEnd = false;

 protected:
  void onLoad() override;
  void onUnload() override;

 private:
  frmCustomsData();
  template <class T>
  friend T& programInstance();
};
