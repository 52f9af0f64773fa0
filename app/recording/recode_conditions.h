// The recording interval, the stop method and the record time as both
// periodic set-ups show them: each change is written into the current map
// at once and the expected size is shown anew; while periodic recording
// runs, each control is put back to the map's value instead.
#pragma once

#include <QObject>

#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

class RecodeConditionControls : public QObject {
  Q_OBJECT
 public:
  struct Controls {
    QComboBox* cboInterval = nullptr;
    std::array<QRadioButton*, 2> optEndMethod{};  // "Manual", "Auto"
    QLabel* lblTime = nullptr;
    QLineEdit* txtTime = nullptr;
    QLabel* lblMinute = nullptr;
  };

  // Fills the interval list and takes the engineer's changes from here on;
  // `sizeChanged` shows the expected size again.
  RecodeConditionControls(const Controls& controls, std::function<void()> sizeChanged, QObject* parent);

  // Opening: the map's interval, stop method and minutes, each taken
  // through its rule as if chosen.
  void show();

  // The rules, run for the engineer's changes and for the program's.
  void cboInterval_Click();
  void optEndMethod_Click(int index);
  void txtTime_Change();

 private:
  void selectStoredInterval();
  void showStoredMethod();
  void enableTime(bool enabled);

  Controls controls_;
  std::function<void()> sizeChanged_;
};
