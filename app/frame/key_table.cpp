#include "frame/key_table.h"

#include <QAbstractButton>
#include <QKeyEvent>

void KeyTable::add(int key, QAbstractButton* button) { entries_.push_back({key, button}); }

bool KeyTable::handle(QKeyEvent* event) const {
  for (const Entry& entry : entries_) {
    if (entry.key != event->key()) continue;
    event->accept();
    if (entry.button && entry.button->isEnabled()) entry.button->click();
    return true;
  }
  return false;
}
