#include "frame/busy_buttons.h"

#include <QAbstractButton>
#include <QWidget>

BusyButtons::BusyButtons(QWidget& window, std::initializer_list<QAbstractButton*> buttons) : window_(&window) {
  window.setCursor(Qt::WaitCursor);
  for (QAbstractButton* button : buttons) {
    held_.push_back({button, button->isEnabled()});
    button->setEnabled(false);
  }
}

BusyButtons::~BusyButtons() {
  for (const Held& held : held_) {
    if (held.button) held.button->setEnabled(held.enabled);
  }
  if (window_) window_->unsetCursor();
}
