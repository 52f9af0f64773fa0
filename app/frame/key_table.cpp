#include "frame/key_table.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>

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

}  // namespace

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

void KeyTable::previewKeysOf(QWidget& window) const {
  auto* preview = new KeyPreview(*this, &window);
  window.installEventFilter(preview);
  for (QWidget* control : window.findChildren<QWidget*>()) control->installEventFilter(preview);
}
