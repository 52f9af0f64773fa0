// The question when a scan no longer fits the stored bus map: adopt the bus
// as it is now (the map is rebuilt from the scan and gathering restarts,
// the units stopping for some minutes) or close the map.
#pragma once

#include "frame/dialogs/yes_no_dialog.h"
#include "frame/single_form.h"

#include <functional>

class frmChangeMap : public SingleForm<frmChangeMap, YesNoDialog> {
  Q_OBJECT
 public:
  // Modal over the main window. Yes: with centralized operation
  // prohibited, it is permitted first and the engineer told so (the
  // rebuilt map gathers with it); then `adopt`. No (also Esc and the window
  // system's close): `close`.
  int ask(std::function<void()> adopt, std::function<void()> close);

 protected:
  frmChangeMap();
};
