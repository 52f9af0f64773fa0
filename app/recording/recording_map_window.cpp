#include "recording/recording_map_window.h"

#include "frame/installed_window.h"

namespace {

InstalledWindow<RecordingMapWindow>& installed() {
  static InstalledWindow<RecordingMapWindow> mapWindow;
  return mapWindow;
}

}  // namespace

void installRecordingMapWindow(QObject* window, RecordingMapWindow* asSeen) { installed().install(window, asSeen); }

RecordingMapWindow* recordingMapWindow() { return installed().get(); }

std::shared_ptr<MapQ7net> recordingMap() {
  const RecordingMapWindow* window = recordingMapWindow();
  return window ? window->recordingMap() : nullptr;
}

bool periodicRecordingRuns() {
  const RecordingMapWindow* window = recordingMapWindow();
  return window && window->periodicRecordingRuns();
}

bool triggerRecordingRuns() {
  const RecordingMapWindow* window = recordingMapWindow();
  return window && window->triggerRecordingRuns();
}
