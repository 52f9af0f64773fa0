#include "frame/work_form.h"

#include "frame/frmMain.h"
#include "frame/main_window.h"

#include <QMainWindow>

WorkForm::WorkForm() { setCloseBox(CloseBox::RunsCancel); }

void WorkForm::cancel() {
  onCancel();
  unload();
  showMainMenuAgain();
}

void openInPlaceOfMainMenu(ChildForm& window) {
  QMainWindow* main = mainWindow();
  if (main) main->setCursor(Qt::WaitCursor);
  frmMain::instance().unload();
  window.showForm();
  window.setFocus();
  if (main) main->unsetCursor();
}

void showMainMenu() {
  frmMain& menu = frmMain::instance();
  menu.showForm();
  menu.setFocus();
}

void showMainMenuAgain() {
  frmMain& menu = frmMain::instance();
  menu.unload();
  menu.showForm();
}
