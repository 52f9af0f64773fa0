// A window's long operation: the hourglass pointer and its action buttons
// disabled while it runs, and afterwards exactly the buttons that were
// enabled before and the default pointer again.
#pragma once

#include <QPointer>

#include <initializer_list>
#include <vector>

class QAbstractButton;
class QWidget;

class BusyButtons {
 public:
  BusyButtons(QWidget& window, std::initializer_list<QAbstractButton*> buttons);
  ~BusyButtons();
  BusyButtons(const BusyButtons&) = delete;
  BusyButtons& operator=(const BusyButtons&) = delete;

 private:
  struct Held {
    QPointer<QAbstractButton> button;
    bool enabled;
  };
  QPointer<QWidget> window_;
  std::vector<Held> held_;
};
