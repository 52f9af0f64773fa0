// The status panel at the main window's top left: adapter type, COM port,
// central operation and setting-file version.
#pragma once

#include "frame/form.h"

#include <array>

class QLabel;

class frmDspParam : public ChildForm {
  Q_OBJECT
 public:
  static frmDspParam& instance();

  std::array<QLabel*, 4> Label1{};

 protected:
  void onLoad() override;

 private:
  frmDspParam();
  template <class T>
  friend T& programInstance();
};
