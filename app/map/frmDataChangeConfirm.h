// The question before a control parameter is changed: "Parameter Set ?",
// Yes sends the setting.
#pragma once

#include "frame/dialogs/yes_no_dialog.h"
#include "frame/single_form.h"

class frmDataChangeConfirm : public SingleForm<frmDataChangeConfirm, YesNoDialog> {
  Q_OBJECT
 protected:
  frmDataChangeConfirm();
};
