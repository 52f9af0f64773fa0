// The main menu: six large buttons inside the main window that lead to the
// five kinds of work and to the end of the program, made from the main-menu
// command table. The commands' keys (F1..F5 and F12) are the main window's
// (MainWindowKeys); the letters of "Velmor" typed in order open the
// debug-message window.
#pragma once

#include "frame/main_menu_commands.h"
#include "frame/single_form.h"

#include <map>

class QLabel;
class QPushButton;

class frmMain : public SingleForm<frmMain, ChildForm> {
  Q_OBJECT
 public:
  // Enables each button as its command's rule says: Record and Customer data
  // only while no work is chosen, Play and Data transfer only while no data
  // function is chosen.
  void enableButtons();
  // The button of a command; null when the command has none.
  QPushButton* button(MainMenuCommandId id) const;

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
  frmMain();
  void onLoad() override;
  void onUnload() override;
  void onActivate() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void showCaption();
  void advanceKeySequence(int key);

  std::map<MainMenuCommandId, QPushButton*> buttons_;
};
