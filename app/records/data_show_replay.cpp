#include "records/data_show_replay.h"

#include "frame/dialogs/frmMessage.h"
#include "frame/library/tramsoll_api.h"
#include "frame/texts/text_table.h"
#include "types/unit_kinds.h"

namespace {

// selectDataFile: 0 opened, 2 opened with a table error, else not opened.
constexpr int32_t kSelectOpened = 0;
constexpr int32_t kSelectTableError = 2;

bool recordsSensorBeside(int32_t ifMode) { return ifMode == 3 || ifMode == 5 || ifMode == 9; }

}  // namespace

void showVersionMismatch() { showMessage(QStringLiteral("1-2"), tableText(412), tableText(413), QString()); }

int32_t fileSystemKind(const DataShowFile& file) {
  if (file.outNumber != 0 || file.inNumber != 0) return kOrdinarySystem;
  return file.cenNumber != 0 ? kCentralSystem : kSensorSystem;
}

void addGraphAircons(Collection<GraphAircon>& units, int32_t type, int32_t count) {
  for (int32_t n = 1; n <= count; ++n) {
    auto unit = std::make_shared<GraphAircon>();
    unit->airconNumber = n;
    unit->airconType = type;
    units.add(unit, QString::number(n));
  }
}

void setGraphSystemFromFile(GraphSystem& graph, const DataShowCustom& custom, const DataShowFile& file) {
  setGraphSystemMap(graph, custom.customName, file.mapName, file.mapNumber, file.ifMode, 0);
  graph.systemNumber = file.systemNumber;
  graph.kind = file.kind;
  graph.saveYear = file.saveYear;
  graph.saveMonth = file.saveMonth;
  graph.saveDay = file.saveDay;
  graph.saveTime = file.saveTime;
  graph.airconNumberNow = 1;
  graph.systemKind = fileSystemKind(file);
  if (graph.systemKind == kSensorSystem) {
    addGraphAircons(graph.airconsSen, kSensorUnit, 1);
    return;
  }
  addGraphAircons(graph.airconsOut, kOutdoorUnit, file.outNumber);
  addGraphAircons(graph.airconsIn, kIndoorUnit, file.inNumber);
  addGraphAircons(graph.airconsCen, kCentralUnit, graph.systemKind == kCentralSystem ? file.cenNumber : 0);
  if (!recordsSensorBeside(file.ifMode)) return;
  graph.sensorDataShow = true;
  addGraphAircons(graph.airconsSen, kSensorUnit, 1);
}

ReplayOpened openDataShowForFile(DisplayWindowOwner& owner, const DataShowCustom& custom, const DataShowFile& file) {
  const QByteArray folder = textForLibrary(custom.customDir);
  const int32_t opened = tramsollApi().selectDataFile(folder.constData(), file.fileNumber);
  if (opened == kSelectTableError) {
    tramsollApi().closeDataFile(folder.constData(), file.fileNumber);
    showVersionMismatch();
    return ReplayOpened::TableError;
  }
  if (opened != kSelectOpened) {
    showVersionMismatch();
    return ReplayOpened::NotOpened;
  }
  const DataShowOpening opening =
      openDataShow(owner, replayDataShow(custom.customDir, file.fileNumber),
                   [&custom, &file](GraphSystem& graph) { setGraphSystemFromFile(graph, custom, file); });
  if (opening.windowOwnsSource()) return ReplayOpened::Shown;
  tramsollApi().closeDataFile(folder.constData(), file.fileNumber);
  return ReplayOpened::NoWindow;
}
