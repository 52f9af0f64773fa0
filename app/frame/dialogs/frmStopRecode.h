// The question whether a running recording is to be stopped, asked when the
// map window closes or the program ends; the asker's Yes action follows.
#pragma once

#include "frame/dialogs/yes_no_dialog.h"
#include "frame/single_form.h"

#include <cstdint>

class frmStopRecode : public SingleForm<frmStopRecode, YesNoDialog> {
  Q_OBJECT
 public:
  // Who asks: 0 the map window being closed, 1 the end of the program.
  int32_t idCalledFrom = 0;

  QLabel* lbl1 = nullptr;
  QLabel* lbl2 = nullptr;

 protected:
  frmStopRecode();
};
