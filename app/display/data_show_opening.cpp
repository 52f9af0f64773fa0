#include "display/data_show_opening.h"

#include "frame/event_manager.h"

#include <initializer_list>
#include <utility>

namespace {

struct Identity {
  int32_t number;
  int32_t kind;
};

// The window is let go before it was ever held: its registration goes, it
// unloads and its model is released.
void giveUp(frmDataShow& window, const Identity& id) {
  eventManager().clearEvent(kDataShowFormName, id.number, id.kind, kCloseEvent);
  window.unload();
  window.deleteGraphSystemObj();
}

// The drawing stages; each is entered only while the window is not closing.
bool drawStages(frmDataShow& window, const Identity& id) {
  using Step = void (frmDataShow::*)();
  const std::initializer_list<std::initializer_list<Step>> stages = {
      {&frmDataShow::showCusor, &frmDataShow::setCusorData, &frmDataShow::showTital, &frmDataShow::showLabel},
      {&frmDataShow::showDataItem},
      {&frmDataShow::showCusorData, &frmDataShow::setDefaultGraph, &frmDataShow::showGraphMarkerFirst},
      {&frmDataShow::showGraph},
  };
  for (const auto& stage : stages) {
    if (!eventManager().askClose(kDataShowFormName, id.number, id.kind)) return false;
    for (Step step : stage) (window.*step)();
  }
  return true;
}

}  // namespace

DataShowSource liveDataShow(std::function<int32_t()> ordinarySystems) {
  DataShowSource source;
  source.ordinarySystems = std::move(ordinarySystems);
  return source;
}

DataShowSource replayDataShow(const QString& customDir, int32_t fileNumber) {
  return DataShowSource{0, 1, customDir, fileNumber, {}};
}

DataShowOpening openDataShow(DisplayWindowOwner& owner, const DataShowSource& source, const GraphSystemFill& fill) {
  std::shared_ptr<frmDataShow> window = owner.newWindow();
  if (!window) return {};
  window->realtime = source.realtime;
  window->dataSource = source.dataSource;
  window->customDir = source.customDir;
  window->fileNumber = source.fileNumber;
  window->ordinarySystemCount = source.ordinarySystems;
  // Loaded now, so that its load step sees the kind but not yet the model;
  // it stays hidden until it is held.
  window->load();
  const Identity id{window->formNumber, window->dataSource};
  EventManager& guard = eventManager();
  if (!guard.askEvent(kDataShowFormName, id.number, id.kind, kLoadEvent)) {
    window->unload();
    return {DataShowOpened::Refused, nullptr};
  }
  guard.setEvent(kDataShowFormName, id.number, id.kind, kLoadEvent);

  if (fill) fill(window->graphSystem());
  window->setDataItem();
  if (window->graphSystem().totalItemNumber == 0) {
    giveUp(*window, id);
    return {DataShowOpened::NoItems, nullptr};
  }
  // Held before it is shown, so that a window whose number was taken
  // meanwhile never appears.
  if (!owner.add(window)) {
    giveUp(*window, id);
    return {DataShowOpened::NotHeld, nullptr};
  }
  window->showForm();
  if (!drawStages(*window, id)) return {DataShowOpened::Closing, window};
  window->flagForEndOk = true;
  guard.clearEvent(kDataShowFormName, id.number, id.kind, kLoadEvent);
  return {DataShowOpened::Shown, window};
}
