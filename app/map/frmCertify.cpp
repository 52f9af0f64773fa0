#include "map/frmCertify.h"

#include "frame/dialogs/frmMessage.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/window_controls.h"
#include "map/frmDataChange.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kPasswordText = 494;

YesNoDialog::Design certifyDesign() {
  YesNoDialog::Design design;
  design.title = {"Authentication", 490};
  design.lines = {{"Input Password", 491}, {"", 492}, {"", 493}};
  design.yes = {"OK (F1)", 0};
  design.no = {"Cancel (Esc)", 17};
  design.width = 5235;
  design.height = 2640;
  design.linesHeight = 900;
  design.buttonTop = 1900;
  return design;
}

}  // namespace

frmCertify::frmCertify() : SingleForm(certifyDesign()) {
  lblPassword = placeControl<QLabel>(this, QRect(1080, 1410, 1000, 300), QStringLiteral("password"));
  txtPassword = placeControl<QLineEdit>(this, QRect(2160, 1320, 2000, 300));
  txtPassword->setEchoMode(QLineEdit::Password);
  txtPassword->setAttribute(Qt::WA_InputMethodEnabled, false);
  // Enter after the password is OK, as F1 is.
  cmdCancel->setDefault(false);
  cmdOk->setDefault(true);
  setTabOrder(txtPassword, cmdOk);
  setTabOrder(cmdOk, cmdCancel);
}

bool frmCertify::askPassword() {
  return askModal([this] {
    frmDataChange& change = frmDataChange::instance();
    change.zubrelAddressThisForm = zubrelAddressDataChange;
    change.showForm();
  }) == QDialog::Accepted;
}

void frmCertify::onLoad() {
  YesNoDialog::onLoad();
  if (captionsFromTable()) {
    lblPassword->setText(tableText(kPasswordText));
    useAppFont({this, lblPassword});
  }
  txtPassword->clear();
  txtPassword->setFocus();
}

bool frmCertify::yesAccepted() {
  const QString& password = program().accessPassword;
  if (!password.isEmpty() && txtPassword->text() == password) return true;
  // The message box raises the dialog flag a level of its own and lowers it
  // again: this window keeps its level.
  showMessage(QStringLiteral("22-1"), tableText(480), tableText(481), QString());
  txtPassword->setFocus();
  return false;
}
