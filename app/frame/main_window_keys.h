// The main menu's keys (F1..F5 and F12) as shortcuts of the main window:
// they run their commands wherever the focus is in the main window, while
// the main menu is the active child window or the active child has no keys
// of its own, and never while a modal window is up; a command runs only
// while its enabling rule allows it. Ctrl+F4 closes the active child window
// by the window's own close road.
#pragma once

#include "frame/main_menu_commands.h"

#include <QObject>

#include <vector>

class QMainWindow;
class QMdiArea;
class QShortcut;

class MainWindowKeys : public QObject {
  Q_OBJECT
 public:
  // One shortcut for each command of the table that has a key.
  MainWindowKeys(QMainWindow& window, QMdiArea& area);

  // False while the active child window keeps its keys to itself.
  bool live() const;

 private:
  void followActiveWindow();
  static void press(MainMenuCommandId id);
  void closeActiveWindow() const;

  QMdiArea& area_;
  std::vector<QShortcut*> commandKeys_;
};
