// The question whether a running recording is to be stopped, asked when the
// map window closes or the program ends.
#pragma once

#include "frame/form.h"

#include <cstdint>

class QLabel;
class QPushButton;

class frmStopRecode : public DialogForm {
  Q_OBJECT
 public:
  static frmStopRecode& instance();

  // Who asks: 0 the map window being closed, 1 the end of the program.
  int32_t idCalledFrom = 0;

  QLabel* lbl1 = nullptr;
  QLabel* lbl2 = nullptr;
  QPushButton* cmdOk = nullptr;      // Yes
  QPushButton* cmdCancel = nullptr;  // No

 protected:
  void onLoad() override;
  void onUnload() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  frmStopRecode();
  void cmdOk_Click();
  template <class T>
  friend T& programInstance();
};
