// The question before a stored bus map opens with a unit whose model is not
// known while centralized operation is prohibited: the data of such units
// is not collected in that mode. Yes opens the map as gathering was started
// (the caller's action); No stops gathering and tells how to have the data
// collected.
#pragma once

#include "frame/dialogs/yes_no_dialog.h"
#include "frame/single_form.h"
#include "types/MapQ7net.h"

#include <memory>

class frmUnknownKind : public SingleForm<frmUnknownKind, YesNoDialog> {
  Q_OBJECT
 public:
  // The map the map list is opening.
  std::shared_ptr<MapQ7net> mapQ7netFixed;

  void cancel() override;

 protected:
  frmUnknownKind();
};
