#include "map/frmUnknownKind.h"

#include "frame/dialogs/frmMessage.h"
#include "frame/gathering.h"
#include "frame/texts/text_table.h"

frmUnknownKind::frmUnknownKind()
    : SingleForm({{"The operation data collection of the air conditioner when a model can't be distinguished isn't "
                   "completed in the centralized operation prohibition mode. Do you continue it?",
                   359, 3}}) {}

void frmUnknownKind::cancel() {
  YesNoDialog::cancel();
  // The map list started gathering before it asked.
  stopGathering();
  // No number: the first text stands in its place.
  showMessage(tableText(460), tableText(461), tableText(462), QString());
}
