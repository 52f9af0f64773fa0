#include "map/frmChangeMap.h"

#include "frame/dialogs/frmMessage.h"
#include "frame/frmMdi.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"

#include <utility>

namespace {

// Adopting a scan restarts gathering with the units' models asked for,
// which needs centralized operation.
void permitCentralOperation() {
  if (program().centralOperation) return;
  frmMdi::instance().showCentralOperation(true);
  // No number: the first text stands in its place.
  showMessage(tableText(463), tableText(464), tableText(465), QString());
}

}  // namespace

frmChangeMap::frmChangeMap()
    : SingleForm({{"Selected network map is different from this access.", 319},
                  {"Network map will be updated.", 320},
                  {"System will be on standby for restarting and aircondi-     ", 321},
                  {"tioners on QVII-NET will stop for several minutes. OK?", 322}}) {}

int frmChangeMap::ask(std::function<void()> adopt, std::function<void()> close) {
  return askModal(
      [adopt = std::move(adopt)] {
        permitCentralOperation();
        if (adopt) adopt();
      },
      std::move(close));
}
