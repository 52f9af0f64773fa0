#include "frame/main_menu_commands.h"

#include <algorithm>

namespace {

std::vector<MainMenuCommand>& table() {
  static std::vector<MainMenuCommand> commands;
  return commands;
}

}  // namespace

void installMainMenuCommands(std::vector<MainMenuCommand> commands) {
  std::stable_sort(commands.begin(), commands.end(),
                   [](const MainMenuCommand& a, const MainMenuCommand& b) { return a.id < b.id; });
  table() = std::move(commands);
}

const std::vector<MainMenuCommand>& mainMenuCommands() { return table(); }

const MainMenuCommand* findMainMenuCommand(MainMenuCommandId id) {
  for (const MainMenuCommand& command : table()) {
    if (command.id == id) return &command;
  }
  return nullptr;
}

bool isCommandEnabled(const MainMenuCommand& command, const ProgramValues& values) {
  return !command.enabledWhen || command.enabledWhen(values);
}
