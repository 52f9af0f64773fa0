// A window that another window installs for the windows it opens, seen
// through an interface (the map window as the recording set-ups or the
// unit-information windows see it). It drops out by itself when the window
// is destroyed.
#pragma once

#include <QObject>
#include <QPointer>

template <class Seen>
class InstalledWindow {
 public:
  void install(QObject* window, Seen* asSeen) {
    window_ = window;
    asSeen_ = asSeen;
  }
  // The window, or null when none exists.
  Seen* get() const { return window_ ? asSeen_ : nullptr; }

 private:
  QPointer<QObject> window_;
  Seen* asSeen_ = nullptr;
};
