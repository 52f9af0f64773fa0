#include "adapter/adapter_status.h"

#include "adapter/consumers.h"

namespace tramsoll {

namespace {

AdapterStatus& keptStatus() {
  static AdapterStatus status;
  return status;
}

class KeepAdapterStatus : public AdapterStatusSink {
 public:
  void keepAdapterStatus(int switch1, int switch2, int value) override { keptStatus() = {switch1, switch2, value}; }
};

}  // namespace

AdapterStatus adapterStatus() { return keptStatus(); }

void resetAdapterStatus() { keptStatus() = AdapterStatus{}; }

void installAdapterStatusSink() {
  static KeepAdapterStatus sink;
  setAdapterStatusSink(&sink);
}

}  // namespace tramsoll
