#include "frame/dialogs/site_file_messages.h"

#include "frame/dialogs/frmMessage.h"
#include "frame/texts/text_table.h"

// A damaged file is named with its line and what that line holds; a file
// that cannot be read at all, with the reason.
void showSiteFileWarning(const SiteFileResult& result) {
  if (result.fileName.isEmpty()) {
    showMessage(result.message, QString(), QString(), QString());
    return;
  }
  showMessage(result.fileName + ownText(kTextFileDamaged), ownText(kTextLine) + QString::number(result.line),
              result.excerpt, QString());
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
