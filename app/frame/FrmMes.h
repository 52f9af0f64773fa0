// The version window.
#pragma once

#include "frame/form.h"

#include <array>

class QLabel;
class QPushButton;

class FrmMes : public DialogForm {
  Q_OBJECT
 public:
  static FrmMes& instance();

  // Fills Label2 with the versions and dates of the setting file, the
  // program and the library.
  void fillVersionText();

  std::array<QLabel*, 3> Label1{};
  QLabel* Label2 = nullptr;
  QPushButton* cmdOk = nullptr;

 protected:
  void onLoad() override;

 private:
  FrmMes();
  template <class T>
  friend T& programInstance();
};
