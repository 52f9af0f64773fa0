// The main menu: six large buttons inside the main window that lead to the
// five kinds of work and to the end of the program. F1..F5 and F12 press
// them; the letters of "Velmor" typed in order open the debug-message window.
#pragma once

#include "frame/form.h"

#include <array>

class QLabel;
class QPushButton;

class frmMain : public ChildForm {
  Q_OBJECT
 public:
  static frmMain& instance();

  // Enables Record and Customer data only while no work is chosen, Play and
  // Data transfer only while no data function is chosen.
  void enableButtons();

  QPushButton* cmdRecode = nullptr;
  QPushButton* cmdPlay = nullptr;
  QPushButton* cmdTransfer = nullptr;
  QPushButton* cmdCustom = nullptr;
  QPushButton* cmdSs = nullptr;
  QPushButton* cmdEnd = nullptr;
  QLabel* lblVersion = nullptr;
  // Letters of the hidden key sequence matched so far (0..5).
  int keySequenceState = 0;

  static constexpr int kWidth = 5400;
  static constexpr int kHeight = 5400;

 protected:
  void onLoad() override;
  void onUnload() override;
  void onActivate() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  frmMain();
  void showCaption();
  void advanceKeySequence(int key);
  template <class T>
  friend T& programInstance();
};
