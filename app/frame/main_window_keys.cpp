#include "frame/main_window_keys.h"

#include "frame/form.h"
#include "frame/frmMain.h"
#include "frame/program_values.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QShortcut>

namespace {

const QKeySequence kCloseChild(Qt::CTRL | Qt::Key_F4);

bool modalWindowUp() { return program().dialogOpen || QApplication::activeModalWidget(); }

}  // namespace

MainWindowKeys::MainWindowKeys(QMainWindow& window, QMdiArea& area) : QObject(&window), area_(area) {
  for (const MainMenuCommand& command : mainMenuCommands()) {
    if (!command.key) continue;
    auto* key = new QShortcut(QKeySequence(command.key), &window);
    // A held key runs its command once.
    key->setAutoRepeat(false);
    connect(key, &QShortcut::activated, this, [id = command.id] { press(id); });
    commandKeys_.push_back(key);
  }
  // Where the platform's own close key of a child window is Ctrl+F4 already,
  // a second shortcut would only make the key ambiguous.
  if (!QKeySequence::keyBindings(QKeySequence::Close).contains(kCloseChild)) {
    auto* close = new QShortcut(kCloseChild, &window);
    connect(close, &QShortcut::activated, this, [this] { closeActiveWindow(); });
  }
  connect(&area, &QMdiArea::subWindowActivated, this, [this] { followActiveWindow(); });
  followActiveWindow();
}

bool MainWindowKeys::live() const {
  const QMdiSubWindow* active = area_.activeSubWindow();
  const auto* form = active ? qobject_cast<const ChildForm*>(active->widget()) : nullptr;
  return !form || qobject_cast<const frmMain*>(form) || !form->hasKeysOfItsOwn();
}

// A disabled shortcut leaves its key to the focused window.
void MainWindowKeys::followActiveWindow() {
  const bool keysLive = live();
  for (QShortcut* key : commandKeys_) key->setEnabled(keysLive);
}

void MainWindowKeys::press(MainMenuCommandId id) {
  if (modalWindowUp()) return;
  const MainMenuCommand* command = findMainMenuCommand(id);
  if (!command || !command->open || !isCommandEnabled(*command, program())) return;
  command->open();
}

void MainWindowKeys::closeActiveWindow() const {
  if (modalWindowUp()) return;
  // The sub-window hands the close to the window inside, whose close box
  // decides: unload, Cancel, or nothing at all for the status panel.
  if (QMdiSubWindow* active = area_.activeSubWindow()) active->close();
}
