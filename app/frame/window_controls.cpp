#include "frame/window_controls.h"

#include "frame/texts/text_table.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

namespace {

void setCaption(QWidget& control, const QString& text) {
  if (auto* label = qobject_cast<QLabel*>(&control)) label->setText(text);
  if (auto* button = qobject_cast<QAbstractButton*>(&control)) button->setText(text);
  if (auto* frame = qobject_cast<QGroupBox*>(&control)) frame->setTitle(text);
}

}  // namespace

void applyTableCaptions(QWidget& window, int titleEntry, std::initializer_list<TableCaption> captions) {
  if (!captionsFromTable()) return;
  window.setWindowTitle(tableText(titleEntry));
  for (const TableCaption& caption : captions) {
    setCaption(*caption.control, tableText(caption.entry));
    caption.control->setFont(appFont());
  }
}

void useAppFont(std::initializer_list<QWidget*> controls) {
  for (QWidget* control : controls) control->setFont(appFont());
}
