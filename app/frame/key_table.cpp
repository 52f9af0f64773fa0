#include "frame/key_table.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>

#include <algorithm>

namespace {

class KeyPreview : public QObject {
 public:
  KeyPreview(const KeyTable& table, QObject* parent) : QObject(parent), table_(table) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && table_.handle(static_cast<QKeyEvent*>(event))) return true;
    return QObject::eventFilter(watched, event);
  }

 private:
  const KeyTable& table_;
};

std::vector<const KeyTable*>& tables() {
  static std::vector<const KeyTable*> made;
  return made;
}

// The keypad's keys count as the plain keys.
bool pressedOnItsOwn(const QKeyEvent& event) { return (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier; }

}  // namespace

KeyTable::KeyTable() { tables().push_back(this); }

KeyTable::~KeyTable() { std::erase(tables(), this); }

void KeyTable::add(int key, QAbstractButton* button) { entries_.push_back({key, button}); }

bool KeyTable::handle(QKeyEvent* event) const {
  if (!pressedOnItsOwn(*event)) return false;
  for (const Entry& entry : entries_) {
    if (entry.key != event->key()) continue;
    event->accept();
    if (entry.button && entry.button->isEnabled()) entry.button->click();
    return true;
  }
  return false;
}

void KeyTable::previewKeysOf(QWidget& window) const {
  auto* preview = new KeyPreview(*this, &window);
  window.installEventFilter(preview);
  for (QWidget* control : window.findChildren<QWidget*>()) control->installEventFilter(preview);
}

bool KeyTable::hasKeysWithin(const QWidget& window) {
  return std::ranges::any_of(tables(), [&window](const KeyTable* table) {
    return std::ranges::any_of(table->entries_,
                               [&window](const Entry& entry) { return entry.button && window.isAncestorOf(entry.button); });
  });
}
