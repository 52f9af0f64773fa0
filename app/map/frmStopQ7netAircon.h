// The standby warning before gathering on the Q7 bus starts: collecting the
// map restarts the bus connection, and the units stop for some minutes.
// The asker's Yes action follows; No only closes the warning, and stops the
// gathering that the map list had started.
#pragma once

#include "frame/dialogs/yes_no_dialog.h"
#include "frame/single_form.h"
#include "types/MapQ7net.h"

#include <cstdint>
#include <memory>

class frmStopQ7netAircon : public SingleForm<frmStopQ7netAircon, YesNoDialog> {
  Q_OBJECT
 public:
  // Who asks: 0 the access-method window, 1 the map list.
  int32_t idCalledFrom = 0;
  // The map the map list is opening.
  std::shared_ptr<MapQ7net> mapQ7netFixed;

  void cancel() override;

 protected:
  frmStopQ7netAircon();
};
