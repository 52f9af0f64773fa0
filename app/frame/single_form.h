// Window classes with one program-wide instance:
//
//   class frmSs : public SingleForm<frmSs, WorkForm> { ... protected: frmSs(); };
//
// frmSs::instance() makes the instance on first use; the class keeps its
// constructor protected so that no second one can be made elsewhere. Each
// instance made is listed, so that the tests can destroy them all and start
// afresh (destroySingleWindows) without naming them.
#pragma once

#include "frame/form.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <type_traits>

// Lists a single window and how it is destroyed.
void listSingleWindow(QObject* window, std::function<void()> destroy);
// Destroys every single window, the last made first; the next instance()
// of each class makes a new one.
void destroySingleWindows();

template <class T, class Base>
class SingleForm : public Base {
 public:
  static T& instance() {
    static QPointer<T> window;
    if (!window) {
      // Reaches the protected constructor; the instance is a T in all but name.
      struct Made final : T {};
      window = new Made;
      listSingleWindow(window, [made = QPointer<T>(window)] {
        if (!made) return;
        if constexpr (std::is_base_of_v<ChildForm, T>) {
          made->deleteWithSubWindow();
        } else {
          delete made.data();
        }
      });
    }
    return *window;
  }

 protected:
  using Base::Base;
  SingleForm() = default;
};
