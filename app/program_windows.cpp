#include "program_windows.h"

#include "frame/main_menu_commands.h"
#include "frame/program_end.h"
#include "frame/program_values.h"
#include "frame/window_roads.h"
#include "frame/work_form.h"
#include "map/frmMapsList.h"
#include "records/frmCustom.h"
#include "records/frmCustomsData.h"
#include "records/frmCustomsList.h"
#include "records/frmDataTransfer.h"
#include "records/frmInforInput.h"
#include "records/frmSs.h"

namespace {

bool noWorkChosen(const ProgramValues& values) { return values.workMode == kWorkFree; }
bool noDataFunctionChosen(const ProgramValues& values) { return values.dataFunction == kDataFree; }

// Record / F1 and Customer data / F4 set the work, Play / F2 and Data
// transfer / F3 the data function, before the window takes the main menu's
// place.
template <class Window>
std::function<void()> openWork(int32_t workMode) {
  return [workMode] {
    program().workMode = workMode;
    openInPlaceOfMainMenu(Window::instance());
  };
}

template <class Window>
std::function<void()> openDataFunction(int32_t dataFunction) {
  return [dataFunction] {
    program().dataFunction = dataFunction;
    openInPlaceOfMainMenu(Window::instance());
  };
}

std::vector<MainMenuCommand> commandTable() {
  const QKeySequence none;
  return {
      {kCommandRecord, "Record (&R)", 21, none, false, "Record (F1)", 64, Qt::Key_F1,
       openWork<frmCustomsList>(kWorkRecording), noWorkChosen},
      {kCommandPlay, "Play (&P)", 22, none, false, "Play (F2)", 65, Qt::Key_F2,
       openDataFunction<frmCustomsData>(kDataPlay), noDataFunctionChosen},
      {kCommandTransfer, "Data transfer (&T)", 23, none, false, "Data transfer (F3)", 66, Qt::Key_F3,
       openDataFunction<frmDataTransfer>(kDataTransfer), noDataFunctionChosen},
      {kCommandCustom, "Customer data (&C)", 24, none, false, "Customer data (F4)", 67, Qt::Key_F4,
       openWork<frmCustomsList>(kWorkCustomerRecords), noWorkChosen},
      {kCommandSs, "SS data (&S)", 25, none, false, "SS data (F5)", 68, Qt::Key_F5,
       [] { openInPlaceOfMainMenu(frmSs::instance()); }, nullptr},
      {kCommandMainMenu, "Display main menu (&M)", 26, QKeySequence(Qt::CTRL | Qt::Key_F12), false, nullptr, 0, 0,
       showMainMenu, nullptr},
      {kCommandEnd, "END (&X)", 27, none, true, "END (F12)", 69, Qt::Key_F12, requestEndOfApp, nullptr},
  };
}

// The ways back to the customer windows and the map list.
void installWindowRoads() {
  installWindowRoad(WindowRoad::CustomerList, [] { frmCustomsList::instance().showForm(); });
  installWindowRoad(WindowRoad::CustomerEditor, [] {
    frmCustom& editor = frmCustom::instance();
    editor.customMode = frmCustom::kEditCustomer;
    editor.showForm();
  });
  installWindowRoad(WindowRoad::MapsList, [] { frmMapsList::instance().showForm(); });
}

// The map window's ways into the unit information windows, which read it.
void installUnitInformationRoads() {
  installWindowRoad(WindowRoad::UnitInformation, [] { frmInforInput::instance().showForm(); });
  installWindowRoad(WindowRoad::UnitInformationUnload, [] { frmInforInput::instance().unload(); });
}

}  // namespace

void installProgramWindows() {
  installMainMenuCommands(commandTable());
  installWindowRoads();
  installUnitInformationRoads();
}
