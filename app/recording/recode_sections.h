// Sections 1 to 3 that the periodic set-up and the sensor-input set-up share
// control for control: the recording interval, the stop method with the
// record time, and the free space of the program folder's disk (each set-up
// adds its own expected size beside it).
#pragma once

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

struct RecodeSetUpSections {
  QLabel* lblInterval = nullptr;
  QComboBox* cboInterval = nullptr;
  QLabel* lblSecond = nullptr;
  QLabel* lblEndMethod = nullptr;
  QGroupBox* fraRecode = nullptr;
  std::array<QRadioButton*, 2> optEndMethod{};  // "Manual", "Auto"
  QLabel* lblTime = nullptr;
  QLineEdit* txtTime = nullptr;
  QLabel* lblMinute = nullptr;
  QLabel* lblFreeDisk = nullptr;
  QLineEdit* txtFreeDisk = nullptr;
  QLabel* lblFreeDiskUnit = nullptr;
  QLabel* lblFreeDiskElse = nullptr;
};
