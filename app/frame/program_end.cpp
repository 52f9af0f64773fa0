#include "frame/program_end.h"

#include "display/frmDataShow.h"
#include "frame/dialogs/frmStopRecode.h"
#include "frame/event_manager.h"
#include "frame/frmMdi.h"
#include "frame/library/tramsoll_api.h"
#include "frame/program_values.h"
#include "frame/site/program_settings.h"
#include "frame/site/site_files.h"
#include "frame/twips.h"
#include "map/frmMap.h"
#include "records/frmCustomsData.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

struct EndState {
  bool ended = false;
  bool finishing = false;  // finishEndOfApp runs: the main window closes unasked
  int ticks = 0;           // end timer steps since prepareEndOfApp
  std::function<void()> action = [] { QCoreApplication::exit(0); };
};

EndState& endState() {
  static EndState state;
  return state;
}

bool anyRecordingRuns() {
  const frmMap& map = frmMap::instance();
  return map.mapRecode || map.mapRecodeTrigger || map.mapRecodeQ7Data;
}

bool displayWindowsOrMapOpen() {
  return !frmMap::instance().dataShowForms.isEmpty() || !frmCustomsData::instance().dataShowForms.isEmpty() ||
         program().mapFormOpen;
}

void askToStopRecording() {
  frmStopRecode& question = frmStopRecode::instance();
  question.idCalledFrom = 1;
  question.showModal();
}

// Tells each window to close; a window may leave the collection meanwhile.
void closeDisplayWindows(const Collection<frmDataShow>& windows) {
  const Collection<frmDataShow> told = windows;
  for (const auto& window : told) window->prepareForEndFormDataShow();
}

}  // namespace

void requestEndOfApp() {
  if (anyRecordingRuns()) {
    askToStopRecording();
    return;
  }
  prepareEndOfApp();
}

void stopGathering() {
  ProgramValues& values = program();
  values.gatherStartMode = 0;
  tramsollApi().initDataGather(values.gatherStartMode, values.comPortNo, values.pelomarType, values.gatherMode,
                               values.gatherQ7Init, textForLibrary(values.gatherTarget).constData(),
                               values.gatherInterval);
}

void saveAllSettings() {
  const ProgramValues& values = program();
  writePortAndSensorSettings(values.comPortNo, values.sensorParams);
  for (const DisplayOptionSetting& setting : displayOptionSettings()) {
    if (setting.option == kTempUnit) continue;  // written last
    writeDisplayOptionSetting(setting, values.displayOptions[static_cast<std::size_t>(setting.option)]);
  }
  // A window moved partly off the screen keeps the place stored before.
  const frmMdi& main = frmMdi::instance();
  const QPoint place = main.pos();
  if (place.x() >= 0 && place.y() >= 0) {
    writeMainWindowPlace({pixelsToTwips(place.x()), pixelsToTwips(place.y()), pixelsToTwips(main.width()),
                          pixelsToTwips(main.height())});
  }
  writeDisplayOptionSetting(displayOptionSetting(kTempUnit), values.displayOptions[kTempUnit]);
}

void prepareEndOfApp() {
  frmMap& map = frmMap::instance();
  if (map.mapRecode) map.stopRecode();
  if (map.mapRecodeTrigger) map.stopRecodeTrigger();
  if (map.mapRecodeQ7Data) map.stopRecodeQ7Data();
  map.flagForEnd = true;
  frmCustomsData::instance().flagForEnd = true;

  frmMdi& main = frmMdi::instance();
  endState().ticks = 0;
  main.tmrForEndApp->start();
  closeDisplayWindows(map.dataShowForms);
  closeDisplayWindows(frmCustomsData::instance().dataShowForms);
  if (program().mapFormOpen) map.prepareForEndFormMap();

  stopGathering();
  writePortAndSensorSettings(program().comPortNo, program().sensorParams);
  main.hide();
}

void tmrForEndApp_Timer() {
  EndState& state = endState();
  ++state.ticks;
  // A display window that never finishes closing must not keep an invisible
  // program running for ever.
  if (displayWindowsOrMapOpen() && state.ticks < kEndTimeoutTicks) return;
  frmMdi::instance().tmrForEndApp->stop();
  finishEndOfApp();
}

void finishEndOfApp() {
  clearServiceStationInfo();
  releaseCustomerInfo();
  releaseEventManager();
  endState().finishing = true;
  frmMdi::instance().close();
  endProgram();
}

bool mainWindowMayClose() {
  if (!endState().finishing) {
    if (anyRecordingRuns()) {
      askToStopRecording();
      return false;
    }
    if (displayWindowsOrMapOpen()) {
      prepareEndOfApp();
      return false;
    }
  }
  stopGathering();
  saveAllSettings();
  return true;
}

void endProgram() {
  EndState& state = endState();
  if (state.ended) return;
  state.ended = true;
  if (state.action) state.action();
}

bool programHasEnded() { return endState().ended; }

void setEndProgramAction(std::function<void()> action) { endState().action = std::move(action); }

void resetProgramEnd() {
  EndState& state = endState();
  state.ended = false;
  state.finishing = false;
  state.ticks = 0;
}
