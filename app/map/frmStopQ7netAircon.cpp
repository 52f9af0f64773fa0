#include "map/frmStopQ7netAircon.h"

#include "frame/gathering.h"

frmStopQ7netAircon::frmStopQ7netAircon()
    : SingleForm({{"Network map data will be collected.", 354},
                  {"System will be on standby for restarting and aircondi-", 355},
                  {"tioners on QVII-NET will stop for several minutes. OK?", 356}}) {}

void frmStopQ7netAircon::cancel() {
  YesNoDialog::cancel();
  // The map list started gathering before it asked.
  if (idCalledFrom == 1) stopGathering();
}
