#include "adapter_side.h"

#include "plus_adapter.h"
#include "vexa5_adapter.h"

namespace adaptersim {

std::unique_ptr<AdapterSide> makeAdapterSide(const Scenario& scenario) {
  if (scenario.adapterType == AdapterType::Plus) return std::make_unique<PlusAdapter>();
  return std::make_unique<Vexa5Adapter>(scenario);
}

}  // namespace adaptersim
