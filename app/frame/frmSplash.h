// The splash window shown while the library starts.
#pragma once

#include "frame/form.h"

#include <array>

class QLabel;

class frmSplash : public DialogForm {
  Q_OBJECT
 public:
  static frmSplash& instance();

  std::array<QLabel*, 6> Label1{};

 protected:
  void onLoad() override;
  // Keys do nothing here, Esc included.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  frmSplash();
  template <class T>
  friend T& programInstance();
};
