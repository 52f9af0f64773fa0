#include "frame/main_menu_commands.h"

#include "frame/frmMain.h"
#include "frame/frmMdi.h"
#include "frame/program_values.h"
#include "records/frmCustomsData.h"
#include "records/frmCustomsList.h"
#include "records/frmDataTransfer.h"
#include "records/frmSs.h"

namespace {

// The hourglass on the main window while the main menu gives way to a
// window of work.
template <class Window>
void openInPlaceOfMainMenu() {
  frmMdi& main = frmMdi::instance();
  main.setCursor(Qt::WaitCursor);
  frmMain::instance().unload();
  Window& window = Window::instance();
  window.showForm();
  window.setFocus();
  main.unsetCursor();
}

}  // namespace

void openRecordWork() {
  program().workMode = kWorkRecording;
  openInPlaceOfMainMenu<frmCustomsList>();
}

void openCustomerRecordsWork() {
  program().workMode = kWorkCustomerRecords;
  openInPlaceOfMainMenu<frmCustomsList>();
}

void openPlay() {
  program().dataFunction = kDataPlay;
  openInPlaceOfMainMenu<frmCustomsData>();
}

void openDataTransfer() {
  program().dataFunction = kDataTransfer;
  openInPlaceOfMainMenu<frmDataTransfer>();
}

void openServiceStationEdit() { openInPlaceOfMainMenu<frmSs>(); }

void showMainMenu() {
  frmMain& menu = frmMain::instance();
  menu.showForm();
  menu.setFocus();
}
