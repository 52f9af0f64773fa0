#include "map/frmMapsList.h"

#include "frame/busy_buttons.h"
#include "frame/common_routines.h"
#include "frame/dialogs/ask_yes_no.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/dialogs/site_file_messages.h"
#include "frame/gathering.h"
#include "frame/grid.h"
#include "frame/main_window.h"
#include "frame/map_title.h"
#include "frame/program_values.h"
#include "frame/site/site_files.h"
#include "frame/texts/text_table.h"
#include "frame/window_controls.h"
#include "frame/window_roads.h"
#include "map/frmInterface.h"
#include "map/frmMap.h"
#include "map/frmStopQ7netAircon.h"
#include "map/frmUnknownKind.h"
#include "map/map_list.h"
#include "map/map_merge.h"

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace {

constexpr int kButtonLeft = 5700;
constexpr int kButtonWidth = 1800;
constexpr int kButtonHeight = 495;
constexpr int16_t kPlusAdapter = 1;
constexpr int32_t kGatherInterval = 5;

QRect buttonAt(int top) { return {kButtonLeft, top, kButtonWidth, kButtonHeight}; }

void showNumbered(const char* key, int entry1, int entry2) {
  showMessage(QString::fromLatin1(key), entry1 < 0 ? QString() : tableText(entry1), tableText(entry2), QString());
}

// The gathering values for a stored map: its access mode, and its model
// for a board map (a blank for none).
void setGatheringFor(const MapQ7net& map) {
  ProgramValues& values = program();
  values.gatherStartMode = 1;
  values.pelomarType = 3;
  values.gatherMode = map.ifMode;
  values.gatherQ7Init = 0;
  values.gatherTarget = map.generalKind.isEmpty() ? QStringLiteral(" ") : map.generalKind;
  values.gatherInterval = kGatherInterval;
}

bool onPlusAdapter() { return program().adapterOptions[0] == kPlusAdapter; }

// The Plus adapter reaches the Q7 bus only.
void refuseBoardOnPlusAdapter() { showNumbered("5-8", 483, 484); }

}  // namespace

frmMapsList::frmMapsList() {
  setWindowTitle(QStringLiteral("Network Map Selection"));
  setCloseBox(CloseBox::None);
  grdList = placeControl<QTableWidget>(this, QRect(120, 120, 5460, 3240));
  cmdFix = placeControl<QPushButton>(this, buttonAt(120), QStringLiteral("OK (F1)"));
  cmdNew = placeControl<QPushButton>(this, buttonAt(720), QStringLiteral("New (F2)"));
  cmdEdit = placeControl<QPushButton>(this, buttonAt(1320), QStringLiteral("Edit map name (F3)"));
  cmdDelete = placeControl<QPushButton>(this, buttonAt(1920), QStringLiteral("Delete (F9)"));
  cmdCancel = placeControl<QPushButton>(this, buttonAt(2865), QStringLiteral("Cancel (Esc)"));
  Grid(*grdList).selectWholeRows(Grid::RowSelection::Range);
  connect(grdList, &QTableWidget::cellDoubleClicked, this, [this] {
    if (cmdFix->isEnabled()) cmdFix->click();
  });
  keys_.add(Qt::Key_F1, cmdFix, this, &frmMapsList::cmdFix_Click);
  keys_.add(Qt::Key_F2, cmdNew, this, &frmMapsList::cmdNew_Click);
  keys_.add(Qt::Key_F3, cmdEdit, this, &frmMapsList::cmdEdit_Click);
  keys_.add(Qt::Key_F9, cmdDelete, this, &frmMapsList::cmdDelete_Click);
  keys_.add(Qt::Key_Escape, cmdCancel, this, &frmMapsList::cancel);
  keys_.previewKeysOf(*this);
  setFocusProxy(grdList);
}

void frmMapsList::onLoad() {
  centreClientInMainWindowTwips(kWidth, kHeight);
  showCaption();
  const int32_t work = program().workMode;
  if (work == kWorkRecording || work == kWorkCustomerRecords) cmdNew->setEnabled(work == kWorkRecording);
  fillGrid();
  grdList->setFocus();
}

void frmMapsList::onActivate() { setMainStatusText(tableText(384)); }

void frmMapsList::showCaption() {
  applyTableCaptions(*this, 89, {{cmdFix, 90}, {cmdNew, 91}, {cmdEdit, 92}, {cmdDelete, 93}, {cmdCancel, 17}});
  useAppFont({grdList});
  const QString name = currentCustomer().name;
  setWindowTitle(name.isEmpty() ? tableText(89) : tableText(89) + QLatin1Char('(') + name + QLatin1Char(')'));
}

// ---- The list ----

int32_t frmMapsList::mapCount() const { return currentCustomer().q7nets.count(); }

// Grid row r (from 1) is the table's row r - 1 under the heading row, and
// shows map number r.
void frmMapsList::fillGrid() {
  CustomInfor& customer = currentCustomer();
  renumberMaps(customer);
  grdList->setUpdatesEnabled(false);
  Grid grid(*grdList);
  grid.setColumnWidthsTwips({0, 1410, 900, 1830, 1020});
  grid.setHeadings({QString(), tableText(94), tableText(95), tableText(96), tableText(97)});
  // The date takes the rest of the grid's width, so that it shows whole.
  grdList->horizontalHeader()->setStretchLastSection(true);
  const int32_t count = mapCount();
  grdList->setRowCount(count);
  for (int32_t number = 1; number <= count; ++number) {
    const auto map = mapOfNumber(customer, number);
    if (!map) continue;
    grid.setText(number - 1, 1, map->mapName);
    grid.setText(number - 1, 2, accessMethodText(map->ifMode));
    grid.setText(number - 1, 3, map->generalKind);
    grid.setText(number - 1, 4, makeDateText(map->saveYear, map->saveMonth, map->saveDay));
  }
  selectedRow = mapListSelectedRow(selectedRow, count);
  if (count > 0) {
    grid.selectRow(selectedRow - 1);
  } else {
    grdList->clearSelection();
  }
  for (QPushButton* button : {cmdFix, cmdEdit, cmdDelete}) button->setEnabled(count > 0);
  grdList->setUpdatesEnabled(true);
}

void frmMapsList::noteSelectedRow() { selectedRow = grdList->currentRow() + 1; }

std::shared_ptr<MapQ7net> frmMapsList::takeSingleMap() {
  const auto map = Grid(*grdList).oneRowSelected() ? mapOfNumber(currentCustomer(), grdList->currentRow() + 1)
                                                   : nullptr;
  if (!map) {
    showNumbered("4-1", -1, 420);
    grdList->setFocus();
    return nullptr;
  }
  noteSelectedRow();
  return map;
}

// ---- OK ----

void frmMapsList::cmdFix_Click() {
  const ProgramValues& values = program();
  if (values.workMode == kWorkRecording) {
    if (values.csvOutputRunning) return showNumbered("5-4", -1, 426);
    if (values.dataTransferRunning) return showNumbered("5-5", -1, 427);
  }
  const auto map = takeSingleMap();
  if (!map) return;
  if (values.workMode == kWorkCustomerRecords) return doFix(kFixAsItIs, map);
  openForRecording(map);
}

// Gathering starts in the map's mode; whatever does not open the map stops
// it again, so that gathering runs only under an open map window.
void frmMapsList::openForRecording(const std::shared_ptr<MapQ7net>& map) {
  TramsollApi& api = tramsollApi();
  sendCentralOperation(api);
  setGatheringFor(*map);
  const int32_t result = startGathering(api);
  if (result != 0) {
    stopGathering(api);
    if (result == 3) {
      showNumbered("5-3", 424, 425);
    } else if (result == 4) {
      showNumbered("1-2", 412, 413);
    } else if (isBoardAccess(map->ifMode) && onPlusAdapter()) {
      // The library refuses a board start on the Plus adapter itself.
      refuseBoardOnPlusAdapter();
    }
    return;
  }
  if (isBusAccess(map->ifMode)) return openBusMap(map);
  if (isBoardAccess(map->ifMode) && !onPlusAdapter()) return doFix(kFixGathering, map);
  stopGathering(api);
  if (isBoardAccess(map->ifMode)) refuseBoardOnPlusAdapter();
}

// A unit of unknown model makes the library ask the bus for models first:
// with centralized operation the map opens after the standby warning and a
// restart with the initial bus scan; without it the engineer decides
// whether to go on without those units' data.
void frmMapsList::openBusMap(const std::shared_ptr<MapQ7net>& map) {
  if (everyUnitHasKnownModel(*map)) return doFix(kFixGathering, map);
  if (program().centralOperation) {
    frmStopQ7netAircon& warning = frmStopQ7netAircon::instance();
    warning.idCalledFrom = 1;
    warning.mapQ7netFixed = map;
    warning.askModal([this, map] { doFix(kFixRestartWithScan, map); });
    return;
  }
  frmUnknownKind& question = frmUnknownKind::instance();
  question.mapQ7netFixed = map;
  question.askModal([this, map] { doFix(kFixGathering, map); });
}

void frmMapsList::doFix(int32_t mode, const std::shared_ptr<MapQ7net>& map) {
  if (!map) return;
  frmMap& window = frmMap::instance();
  fixMapForWindow(window.maps(), map, mode, tramsollApi());
  unload();
  window.showForm();
  window.setFocus();
  window.setDataToMapShowManagerObj();
}

// ---- New, Edit map name, Delete, Cancel ----

void frmMapsList::cmdNew_Click() {
  noteSelectedRow();
  unload();
  frmInterface& access = frmInterface::instance();
  access.showForMap(access.interfaceMode, frmInterface::kNewMap);
}

void frmMapsList::cmdEdit_Click() {
  const auto map = takeSingleMap();
  if (!map) return;
  unload();
  frmInterface& access = frmInterface::instance();
  access.showForMap(access.interfaceMode, frmInterface::kRenameMap, map);
}

void frmMapsList::cmdDelete_Click() {
  if (!takeSingleMap()) return;
  if (askYesNoFromTexts(331, 1) == kAnswerYes) deleteMap();
}

void frmMapsList::deleteMap() {
  SiteFileResult saved;
  {
    const BusyButtons busy(*this, {cmdFix, cmdNew, cmdEdit, cmdDelete, cmdCancel});
    QApplication::processEvents();
    noteSelectedRow();
    saved = ::deleteMap(selectedRow);
    fillGrid();
  }
  if (mapCount() == 0) {
    for (QPushButton* button : {cmdFix, cmdEdit, cmdDelete}) button->setEnabled(false);
  }
  if (!saved) showSaveFailure(saved);
}

void frmMapsList::cancel() {
  noteSelectedRow();
  unload();
  const bool backToEditor = mapsListComeFrom == kFromCustomerEditor && !currentCustomer().name.isEmpty();
  takeWindowRoad(backToEditor ? WindowRoad::CustomerEditor : WindowRoad::CustomerList);
}
