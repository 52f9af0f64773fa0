#include "recording/frmFileSizeOver.h"

#include "frame/program_values.h"
#include "recording/recording_map_window.h"

#include <memory>

namespace {

void startAskedRecording(int32_t calledFrom, const std::weak_ptr<MapQ7net>& askedAbout) {
  RecordingMapWindow* window = recordingMapWindow();
  const std::shared_ptr<MapQ7net> asked = askedAbout.lock();
  if (!window || !asked || !program().mapFormOpen || window->mapClosing() || window->recordingMap() != asked) return;
  if (calledFrom == frmFileSizeOver::kPeriodicRecording) window->startPeriodicRecording();
  if (calledFrom == frmFileSizeOver::kTriggerRecording) window->startTriggerRecording();
}

}  // namespace

frmFileSizeOver::frmFileSizeOver()
    : SingleForm({{"Free hard disk area is insufficient.", 332}, {"Record operation data?", 333}}) {
  lbl1 = lbl[0];
  lbl2 = lbl[1];
}

int frmFileSizeOver::ask() {
  const std::weak_ptr<MapQ7net> askedAbout = recordingMap();
  return askModal([this, askedAbout] { startAskedRecording(idCalledFrom, askedAbout); });
}
