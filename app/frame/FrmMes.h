// The version window.
#pragma once

#include "frame/single_form.h"

#include <array>

class QLabel;
class QPushButton;

class FrmMes : public SingleForm<FrmMes, DialogForm> {
  Q_OBJECT
 public:
  // Fills Label2 with the versions and dates of the setting file, the
  // program and the library.
  void fillVersionText();

  std::array<QLabel*, 3> Label1{};
  QLabel* Label2 = nullptr;
  QPushButton* cmdOk = nullptr;

 protected:
  FrmMes();
  void onLoad() override;
};
