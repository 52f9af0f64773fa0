// The program's main window: a multiple-document frame that owns and
// centres every other window.
#pragma once

#include "frame/form.h"

#include <QMainWindow>
#include <QSize>

class QMdiArea;

class frmMdi : public QMainWindow {
  Q_OBJECT
 public:
  static frmMdi& instance();

  // The size of the inner area that holds the child windows.
  QSize innerSize() const;

  QMdiArea* mdiArea = nullptr;

 private:
  frmMdi();
  template <class T>
  friend T& programInstance();
};
