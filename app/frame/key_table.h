// A window's keys that press its buttons: function keys, Esc and the like,
// each pressing its button only while that button is enabled. Every key
// table is known program-wide, so the main window can tell whether a window
// has keys of its own.
#pragma once

#include <QAbstractButton>
#include <QPointer>

#include <vector>

class QKeyEvent;
class QWidget;

class KeyTable {
 public:
  KeyTable();
  ~KeyTable();
  KeyTable(const KeyTable&) = delete;
  KeyTable& operator=(const KeyTable&) = delete;

  void add(int key, QAbstractButton* button);
  // The same, and a click of the button runs `action` of `receiver`.
  template <class Receiver, class Action>
  void add(int key, QAbstractButton* button, Receiver* receiver, Action action) {
    QObject::connect(button, &QAbstractButton::clicked, receiver, action);
    add(key, button);
  }
  // True when the key, pressed on its own (Ctrl+F4 is no F4), belongs to
  // the table: the event is taken, and the button is pressed when it is
  // enabled. False leaves the event alone.
  bool handle(QKeyEvent* event) const;
  // The window sees the keys before its controls: the table takes its keys
  // from every control the window holds now. The table must live as long
  // as the window (a member of it).
  void previewKeysOf(QWidget& window) const;

  // True when some key table presses a button inside `window`.
  static bool hasKeysWithin(const QWidget& window);

 private:
  struct Entry {
    int key;
    QPointer<QAbstractButton> button;
  };
  std::vector<Entry> entries_;
};
