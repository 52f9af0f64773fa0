// The map list of the current customer.
//
// For now a stand-in: it notes in the program's log where it was opened
// from and takes the way back when it is closed; the list of maps comes
// with the stored-map windows.
#pragma once

#include "frame/single_form.h"

#include <cstdint>

class frmMapsList : public SingleForm<frmMapsList, ChildForm> {
  Q_OBJECT
 public:
  // Where the list was opened from: the customer list or the customer
  // editor.
  enum : int32_t { kFromCustomerList = 0, kFromCustomerEditor = 1 };
  int32_t mapsListComeFrom = kFromCustomerList;

  // Back to the customer editor when the list came from it and the customer
  // has a name, else to the customer list.
  void cancel() override;

 protected:
  frmMapsList();
  void onLoad() override;
};
