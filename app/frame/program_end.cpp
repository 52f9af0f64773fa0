#include "frame/program_end.h"

#include "frame/dialogs/frmStopRecode.h"
#include "frame/end_participant.h"
#include "frame/event_manager.h"
#include "frame/form.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/site/program_settings.h"
#include "frame/site/site_files.h"
#include "frame/slice_driver.h"
#include "frame/twips.h"
#include "frame/site/unsaved_settings.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QTimer>

namespace {

struct EndState {
  bool ended = false;
  bool finishing = false;  // finishEndOfApp runs: the main window closes unasked
  bool fromOutside = false;  // a signal asked for the end: no one answers boxes
  int ticks = 0;           // end timer steps since prepareEndOfApp
  std::function<void()> action = [] { QCoreApplication::exit(0); };
};

EndState& endState() {
  static EndState state;
  return state;
}

// A sliced job counts too: its slice in progress must return before the end.
bool somethingStillOpen() { return !everyParticipantClosed() || sliceJobsRunning(); }

void askToStopRecording() {
  frmStopRecode& question = frmStopRecode::instance();
  question.idCalledFrom = 1;
  question.askModal([] { prepareEndOfApp(); });
}

// The outer top left and inner size of the window, or of the place a
// maximized window comes back to.
QRect normalPlace(const QWidget& window) {
  if (!window.isMaximized()) return QRect(window.pos(), window.size());
  const QRect normal = window.normalGeometry();
  return QRect(normal.topLeft() - (window.geometry().topLeft() - window.pos()), normal.size());
}

void startEndTimer() {
  if (QTimer* timer = mainWindowParts().endTimer) timer->start();
}

void stopEndTimer() {
  if (QTimer* timer = mainWindowParts().endTimer) timer->stop();
}

}  // namespace

void requestEndOfApp() {
  if (anyRecordingRuns()) {
    askToStopRecording();
    return;
  }
  prepareEndOfApp();
}

bool saveAllSettings() {
  const ProgramValues& values = program();
  bool written = writePortAndSensorSettings(values.comPortNo, values.sensorParams);
  for (const DisplayOptionSetting& setting : displayOptionSettings()) {
    if (setting.option == kTempUnit) continue;  // written last
    written &= writeDisplayOptionSetting(setting, values.displayOptions[static_cast<std::size_t>(setting.option)]);
  }
  // A window moved partly off the screen keeps the place stored before.
  const QMainWindow* main = mainWindow();
  const QRect place = main ? normalPlace(*main) : QRect(-1, -1, 0, 0);
  if (place.x() >= 0 && place.y() >= 0) {
    written &= writeMainWindowPlace({pixelsToTwips(place.x()), pixelsToTwips(place.y()),
                                     pixelsToTwips(place.width()), pixelsToTwips(place.height()), main->isMaximized()});
  }
  written &= writeDisplayOptionSetting(displayOptionSetting(kTempUnit), values.displayOptions[kTempUnit]);
  return written;
}

void prepareEndOfApp() {
  endState().ticks = 0;
  startEndTimer();
  cancelSliceJobsForEnd();
  // The windows that take part stop their recordings and tell their own
  // windows to close; the end timer waits for them.
  prepareParticipantsForEnd();

  stopGathering();
  writePortAndSensorSettings(program().comPortNo, program().sensorParams);
  if (QMainWindow* main = mainWindow()) main->hide();
}

void endOnRequestFromOutside() {
  EndState& state = endState();
  const QTimer* endTimer = mainWindowParts().endTimer;
  if (state.ended || state.finishing || (endTimer && endTimer->isActive())) return;
  state.fromOutside = true;
  prepareEndOfApp();
}

void tmrForEndApp_Timer() {
  EndState& state = endState();
  ++state.ticks;
  // A display window that never finishes closing must not keep an invisible
  // program running for ever.
  if (somethingStillOpen() && state.ticks < kEndTimeoutTicks) return;
  stopEndTimer();
  finishEndOfApp();
}

void finishEndOfApp() {
  clearServiceStationInfo();
  releaseCustomerInfo();
  releaseEventManager();
  endState().finishing = true;
  // The main window's windows go with it, each through its unload handler.
  unloadEveryForm();
  if (QMainWindow* main = mainWindow()) main->close();
  endProgram();
}

bool mainWindowMayClose() {
  if (!endState().finishing) {
    if (anyRecordingRuns()) {
      askToStopRecording();
      return false;
    }
    if (somethingStillOpen()) {
      prepareEndOfApp();
      return false;
    }
  }
  stopGathering();
  if (!saveAllSettings()) noteUnsaved(SavePlace::SettingsStore);
  reportUnsaved(!endState().fromOutside);
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
  state.fromOutside = false;
  state.ticks = 0;
}
