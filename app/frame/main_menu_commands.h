// The main menu's commands: one table feeds the main window's Function menu,
// the buttons of the main menu window, their keys and their enabling. The
// program installs the table at start-up; the frame reads it and knows the
// windows behind the commands only through their open().
#pragma once

#include "frame/program_values.h"

#include <QKeySequence>

#include <functional>
#include <vector>

// In the order of the Function menu.
enum MainMenuCommandId : int {
  kCommandRecord,
  kCommandPlay,
  kCommandTransfer,
  kCommandCustom,
  kCommandSs,
  kCommandMainMenu,
  kCommandEnd,
};

struct MainMenuCommand {
  MainMenuCommandId id;
  // The Function menu item: design caption, the text-table entry that
  // replaces it, its shortcut, and a separator above it.
  const char* menuCaption;
  int menuEntry;
  QKeySequence menuShortcut;
  bool separatorBefore;
  // The main menu's button (none when the caption is null) and its key.
  const char* buttonCaption;
  int buttonEntry;
  int key;
  std::function<void()> open;
  // Null: always enabled.
  std::function<bool(const ProgramValues&)> enabledWhen;
};

// Replaces the table; the main window builds its menu from the table it
// finds when it is made.
void installMainMenuCommands(std::vector<MainMenuCommand> commands);
// In the order of their ids.
const std::vector<MainMenuCommand>& mainMenuCommands();
const MainMenuCommand* findMainMenuCommand(MainMenuCommandId id);
bool isCommandEnabled(const MainMenuCommand& command, const ProgramValues& values);
