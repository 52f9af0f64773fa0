#include "frame/dialogs/site_file_messages.h"

#include "frame/dialogs/frmMessage.h"
#include "frame/main_window.h"
#include "frame/texts/text_table.h"

#include <QMainWindow>
#include <QMessageBox>

void showSiteFileWarning(const SiteFileResult& result) {
  QMessageBox::warning(mainWindow(), tableText(19), result.message);
}

void showFileFault(const FileOutcome& outcome) {
  showMessage(QStringLiteral("21-3"), tableText(485), tableText(486), outcome.errorLine());
}

void showSaveFailure(const SiteFileResult& result) {
  if (result.outcome) {
    showSiteFileWarning(result);
  } else {
    showFileFault(result.outcome);
  }
}
