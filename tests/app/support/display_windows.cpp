#include "support/display_windows.h"

#include "frame/event_manager.h"
#include "frame/print_service.h"
#include "frame/program_values.h"
#include "records/data_show_replay.h"
#include "types/unit_kinds.h"

#include <QTableWidget>

GraphSystemFill systemOf(int32_t kind, Units units, std::function<void(GraphSystem&)> more) {
  return [=](GraphSystem& graph) {
    graph.systemKind = kind;
    graph.systemNumber = 1;
    graph.airconNumberNow = 1;
    addGraphAircons(graph.airconsOut, kOutdoorUnit, units.out);
    addGraphAircons(graph.airconsIn, kIndoorUnit, units.in);
    addGraphAircons(graph.airconsCen, kCentralUnit, units.cen);
    addGraphAircons(graph.airconsSen, kSensorUnit, units.sen);
    graph.sensorDataShow = units.sen > 0 && kind != kSensorSystem;
    if (more) more(graph);
  };
}

FakeItem analog(const char* name, int32_t graphDefault) { return FakeItem{name, "100", 0, graphDefault}; }
FakeItem twoState(const char* name, int32_t graphDefault) { return FakeItem{name, " ", 1, graphDefault}; }

QStringList gridColumn(const QTableWidget& grid, int column) {
  QStringList texts;
  for (int row = 0; row < grid.rowCount(); ++row) {
    const QTableWidgetItem* cell = grid.item(row, column);
    texts << (cell ? cell->text() : QString());
  }
  return texts;
}

DisplayWorld::DisplayWorld()
    : world(startedProgram()),
      items(std::make_unique<FakeItems>(world->library.fake)),
      owner(std::make_unique<DisplayWindowOwner>()) {
  program().displayOptions[kFontColor] = 0;
}

DisplayWorld::~DisplayWorld() {
  installPrinterSource({});
  owner.reset();
  items.reset();
  eventManager().deleteAllEventForms();
  world.reset();
}

std::shared_ptr<frmDataShow> DisplayWorld::open(const DataShowSource& source, const GraphSystemFill& fill) {
  const DataShowOpening opening = openDataShow(*owner, source, fill);
  if (opening.outcome != DataShowOpened::Shown) return nullptr;
  return opening.window;
}

std::shared_ptr<frmDataShow> DisplayWorld::openLive(const GraphSystemFill& fill, int32_t ordinarySystems) {
  return open(liveDataShow([ordinarySystems] { return ordinarySystems; }), fill);
}

std::shared_ptr<frmDataShow> DisplayWorld::openReplay(const GraphSystemFill& fill) {
  return open(replayDataShow(QStringLiteral("C07"), 2), fill);
}
