#include "frame/dialogs/ask_yes_no.h"

#include "frame/main_window.h"
#include "frame/texts/text_table.h"

#include <QMainWindow>
#include <QMessageBox>

int32_t askYesNoFromTexts(int start, int count) {
  QString text;
  for (int i = start; i < start + count; ++i) text += tableText(i) + QStringLiteral("\n\n");
  return askYesNo(text);
}

int32_t askYesNo(const QString& text) {
  QMessageBox box(QMessageBox::Question, tableText(19), text, QMessageBox::Yes | QMessageBox::No,
                  mainWindow());
  return box.exec() == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
}
