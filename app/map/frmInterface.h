// The access-method window: names a new map and chooses how the adapter
// reaches the installation, or renames a map.
//
// For now a stand-in: it carries the two modes its openers set, notes in
// the program's log how it was opened, and its Cancel takes the way back;
// the choice of access method comes with the map window.
#pragma once

#include "frame/single_form.h"

#include <cstdint>

class frmInterface : public SingleForm<frmInterface, ChildForm> {
  Q_OBJECT
 public:
  // 0 work for the chosen customer, 1 record only, without a customer.
  enum : int32_t { kForCustomer = 0, kRecordOnly = 1 };
  int32_t interfaceMode = kForCustomer;
  // 0 a new map name is asked, 1 an existing map gets a new name.
  enum : int32_t { kNewMap = 0, kRenameMap = 1 };
  int32_t interfaceMapNameMode = kNewMap;

  // A new map of record-only work goes back to the customer list, any other
  // to the map list.
  void cancel() override;

 protected:
  frmInterface();
  void onLoad() override;
};
