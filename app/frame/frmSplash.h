// The splash window shown while the library starts.
#pragma once

#include "frame/single_form.h"

#include <array>

class QLabel;

class frmSplash : public SingleForm<frmSplash, DialogForm> {
  Q_OBJECT
 public:
  std::array<QLabel*, 6> Label1{};

 protected:
  frmSplash();
  void onLoad() override;
  // Keys do nothing here, Esc included.
  void keyPressEvent(QKeyEvent* event) override;
};
