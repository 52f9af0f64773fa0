#include "recording/recording_map_window.h"

#include <QPointer>

namespace {

struct Installed {
  QPointer<QObject> window;
  RecordingMapWindow* asSeen = nullptr;
};

Installed& installed() {
  static Installed mapWindow;
  return mapWindow;
}

}  // namespace

void installRecordingMapWindow(QObject* window, RecordingMapWindow* asSeen) { installed() = {window, asSeen}; }

RecordingMapWindow* recordingMapWindow() {
  const Installed& mapWindow = installed();
  return mapWindow.window ? mapWindow.asSeen : nullptr;
}

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
