// Until the Plus adapter protocol exists its step does nothing: gathering
// with adapter type 1 sends only the start command.
#include "adapter/plus_step.h"

namespace tramsoll {

void plusDispatch() {}
bool queuePlusStatusPoll() { return false; }
bool queuePlusBusSend(const uint8_t*, int) { return false; }
bool plusScheduler() { return false; }

}  // namespace tramsoll
