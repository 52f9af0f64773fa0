// The status panel at the main window's top left: adapter type, COM port,
// central operation and setting-file version.
#pragma once

#include "frame/single_form.h"

#include <array>

class QLabel;

class frmDspParam : public SingleForm<frmDspParam, ChildForm> {
  Q_OBJECT
 public:
  std::array<QLabel*, 4> Label1{};

 protected:
  frmDspParam();
  void onLoad() override;
};
