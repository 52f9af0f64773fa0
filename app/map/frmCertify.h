// The password before a control parameter may be changed. The typed text
// must equal the setting file's password exactly (an empty one accepts
// nothing); a wrong one says "22-1" and the window stays with its text. The
// right one opens the change window on the unit's address.
#pragma once

#include "frame/dialogs/yes_no_dialog.h"
#include "frame/single_form.h"

#include <cstdint>

class QLabel;
class QLineEdit;

class frmCertify : public SingleForm<frmCertify, YesNoDialog> {
  Q_OBJECT
 public:
  // The outdoor unit the change is for.
  int32_t zubrelAddressDataChange = 0;

  // Asks modal; true when the password was right and the change window is
  // open.
  bool askPassword();

  QLabel* lblPassword = nullptr;
  QLineEdit* txtPassword = nullptr;

 protected:
  frmCertify();
  void onLoad() override;
  bool yesAccepted() override;
};
