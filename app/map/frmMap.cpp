#include "map/frmMap.h"

#include "display/data_show_opening.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/dialogs/frmStopRecode.h"
#include "frame/gathering.h"
#include "frame/main_window.h"
#include "frame/print_service.h"
#include "frame/program_values.h"
#include "frame/site/site_files.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "frame/window_roads.h"
#include "map/control_data_change.h"
#include "map/frmAirconNumShow.h"
#include "map/frmCertify.h"
#include "map/frmChangeMap.h"
#include "map/frmControl.h"
#include "map/frmDataChange.h"
#include "map/frmRefreshMap.h"
#include "map/map_change.h"
#include "map/map_library.h"
#include "map/map_live_display.h"
#include "map/map_lifecycle.h"
#include "map/map_merge.h"
#include "map/map_paging.h"
#include "map/map_picture.h"
#include "frame/map_title.h"
#include "recording/frmFileSizeOver.h"
#include "recording/frmRecode.h"
#include "recording/frmRecodeSensorInput.h"
#include "recording/frmRecodeTrigger.h"
#include "types/unit_kinds.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int kPollMs = 1000;
constexpr int kScanMs = 3000;
constexpr int kMinuteMs = 60000;
constexpr int kEndMs = 2000;
constexpr int kSendE6Ms = 5000;

// Button places (twips): paging, the three modes and Cancel on the first
// row, the four function buttons on the second.
constexpr int32_t kFirstRowTop = 4100;
constexpr int32_t kSecondRowTop = 4600;
constexpr int32_t kButtonHeight = 420;

QPushButton* button(QWidget* parent, const QString& caption, int32_t left, int32_t top, int32_t width) {
  auto* made = new QPushButton(caption, parent);
  made->setGeometry(twipsRect(left, top, width, kButtonHeight));
  made->setFocusPolicy(Qt::TabFocus);
  return made;
}

QTimer* timer(QObject* parent, int interval) {
  auto* made = new QTimer(parent);
  made->setInterval(interval);
  return made;
}

// The central row chosen by a unit button of a central page: only the two
// places of each row's start select it.
int32_t centralRowOfButton(int index) {
  switch (index) {
    case 0:
    case 1:
      return 1;
    case 8:
    case 9:
      return 2;
    case 16:
    case 17:
      return 3;
    default:
      return 0;
  }
}

}  // namespace

frmMap::frmMap() {
  setWindowTitle(QStringLiteral("Network Map Display"));
  setFocusPolicy(Qt::StrongFocus);
  setCloseBox(CloseBox::RunsCancel);
  picMap = new MapPicture(this);
  connect(picMap, &MapPicture::unitFocused, this, [this](int index) { unitFocused(index); });
  makeButtons();
  makeTimers();
  installRecordingMapWindow(this, this);
  installUnitInformationMap(this, this);
}

void frmMap::makeButtons() {
  cmdUp = button(this, QStringLiteral("Up (F1)"), 90, kFirstRowTop, 950);
  cmdDown = button(this, QStringLiteral("Down (F2)"), 1080, kFirstRowTop, 950);
  cmdMapMode = button(this, QStringLiteral("Map mode (F3)"), 2130, kFirstRowTop, 1750);
  cmdShowMode = button(this, QStringLiteral("Display mode (F4)"), 3920, kFirstRowTop, 1750);
  cmdRecodeMode = button(this, QStringLiteral("Record. mode (F5)"), 5710, kFirstRowTop, 1750);
  cmdCancel = button(this, QStringLiteral("Cancel (Esc)"), 7700, kFirstRowTop, 1450);
  for (std::size_t i = 0; i < cmdMode.size(); ++i) {
    cmdMode[i] = button(this, QString(), 90 + 2270 * static_cast<int32_t>(i), kSecondRowTop, 2230);
    connect(cmdMode[i], &QPushButton::clicked, this, [this, i] { cmdMode_Click(static_cast<int>(i)); });
  }
  connect(cmdUp, &QPushButton::clicked, this, [this] { page(-1); });
  connect(cmdDown, &QPushButton::clicked, this, [this] { page(+1); });
  connect(cmdMapMode, &QPushButton::clicked, this, [this] { setMode(kMapScreenMode); });
  connect(cmdShowMode, &QPushButton::clicked, this, [this] { setMode(kDisplayScreenMode); });
  connect(cmdRecodeMode, &QPushButton::clicked, this, [this] { setMode(kRecordScreenMode); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cancel(); });
  const std::array<QPushButton*, 10> keyed{cmdUp, cmdDown, cmdMapMode, cmdShowMode, cmdRecodeMode,
                                           cmdMode[0], cmdMode[1], cmdMode[2], cmdMode[3], cmdCancel};
  for (std::size_t i = 0; i + 1 < keyed.size(); ++i) keys_.add(Qt::Key_F1 + static_cast<int>(i), keyed[i]);
  keys_.add(Qt::Key_Escape, cmdCancel);
}

void frmMap::makeTimers() {
  tmrForExecTramsoll = timer(this, kPollMs);
  tmrForRefreshMap = timer(this, kScanMs);
  tmrForRecode = timer(this, kMinuteMs);
  tmrForEnd = timer(this, kEndMs);
  tmrForSendE6 = timer(this, kSendE6Ms);
  tmrForSendE6->setSingleShot(true);
  connect(tmrForExecTramsoll, &QTimer::timeout, this, [this] { tmrForExecTramsoll_Timer(); });
  connect(tmrForRefreshMap, &QTimer::timeout, this, [this] { tmrForRefreshMap_Timer(); });
  connect(tmrForRecode, &QTimer::timeout, this, [this] { tmrForRecode_Timer(); });
  connect(tmrForEnd, &QTimer::timeout, this, [this] { tmrForEnd_Timer(); });
  // The read-back of a changed parameter, from the unit the change window
  // holds (also when it has closed meanwhile).
  connect(tmrForSendE6, &QTimer::timeout, this, [] { frmDataChange::instance().setSendDataE6(); });
}

void frmMap::openOnScan(const std::shared_ptr<MapQ7net>& map) {
  deleteMapShowManagerObj(mapShowManagerObj);
  if (mapMode == kMapModeStored && newMapQ7netObj) deleteMapQ7netObj(*newMapQ7netObj);
  mapMode = kMapModeScan;
  mapQ7netObj = newMapQ7netObj = map;
}

MapWindowMaps frmMap::maps() {
  return {mapMode, mapQ7netObj, newMapQ7netObj, mapShowManagerObj, firstPagingDone_, systemTriggerObj};
}

// ---- Load, unload, activation ----

void frmMap::onLoad() {
  setGeometryTwips(0, 0, kWidth, kHeight);
  if (!mapQ7netObj) mapQ7netObj = std::make_shared<MapQ7net>();
  if (!newMapQ7netObj) newMapQ7netObj = mapQ7netObj;
  mapRecode = mapRecodeTrigger = mapRecodeTriggerOn = mapFlagRecodeTrigger = mapRecodeQ7Data = false;
  recodeMinuteCount_ = 0;
  marks_ = RecordingMarks{};
  mode = kMapScreenMode;
  showButtonName();
  applyRecordingDefaults(*mapQ7netObj, program().sensorParams);
  firstPagingDone_ = false;

  ProgramValues& values = program();
  startTimersForWork();
  values.mapFormOpen = true;
  flagFormControlShow = flagRecodeSensorInputShow = false;
  flagPagingBusy_ = flagRefreshBusy_ = flagPollBusy_ = false;
  selectedIcon_ = 0;
  tmrForRecode->stop();
  tmrForEnd->stop();
  tmrForSendE6->stop();
  dataShowForms.clearFlagForEnd();
  flagMapIdle_ = true;
  flagChangeE6Sent_ = flagRecodeE6Sent_ = false;
  if (values.workMode == kWorkRecording) requestControlDataAll();

  scanTables_.reset();
  showCaption();
  // A new opening starts from an empty map area, not from the last map's page.
  picMap->apply(hiddenMapScene());
  picMap->colourUnits(-1);
  mapDataReady_ = false;
  if (mapQ7netObj->ifMode == 1) {
    mapQ7netObj->flagForSensor = true;
    buildSensorOnlyMap(*mapQ7netObj);
    setDataToMapShowManagerObj();
  } else {
    mapQ7netObj->flagForSensor = false;
  }
}

void frmMap::startTimersForWork() {
  ProgramValues& values = program();
  const bool recording = values.workMode == kWorkRecording;
  for (QPushButton* modeButton : {cmdMapMode, cmdShowMode, cmdRecodeMode}) modeButton->setEnabled(recording);
  if (!recording) {
    // Other work looks at the map without gathering; customer-records work
    // keeps the unit editor and printing only.
    tmrForExecTramsoll->stop();
    tmrForRefreshMap->stop();
    if (values.workMode == kWorkCustomerRecords) {
      cmdMode[1]->setEnabled(false);
      cmdMode[2]->setEnabled(false);
    }
    return;
  }
  tmrForExecTramsoll->start();
  if (mapQ7netObj->ifMode != 1) tmrForRefreshMap->start();
  values.mapRecodeModeOpen = true;
}

void frmMap::showCaption() {
  setWindowTitle(mapWindowTitle(tableText(107), *mapQ7netObj));
  picMap->setTitles(tableText(108), tableText(109), tableText(110));
  for (QLabel* mark : picMap->lblRecode) mark->setText(tableText(133));
  const std::array<QPushButton*, 5> captioned{cmdUp, cmdDown, cmdMapMode, cmdShowMode, cmdRecodeMode};
  for (std::size_t i = 0; i < captioned.size(); ++i) captioned[i]->setText(tableText(111 + static_cast<int>(i)));
  cmdCancel->setText(tableText(17));

  // The program font; the boxes of the map area keep their small size, as
  // their design width is that of a narrower face, and the paging buttons
  // take only its name.
  const QFont& font = appFont();
  for (QPushButton* widget : {cmdMapMode, cmdShowMode, cmdRecodeMode, cmdCancel}) widget->setFont(font);
  for (QLabel* name : picMap->lblSystemName) name->setFont(font);
  const auto familyOnly = [&font](QWidget* widget) {
    QFont named = widget->font();
    named.setFamily(font.family());
    widget->setFont(named);
  };
  for (std::size_t r = 0; r < picMap->lblSystemName.size(); ++r) {
    for (QWidget* widget : std::array<QWidget*, 5>{picMap->lblRecode[r], picMap->lblRecodeTrigger[r],
                                                   picMap->txtControlAddressTital[r],
                                                   picMap->txtZubrelAddressTital[r], picMap->txtPlaceTital[r]}) {
      familyOnly(widget);
    }
  }
  for (QWidget* place : picMap->txtPlace) familyOnly(place);
  familyOnly(cmdUp);
  familyOnly(cmdDown);
  QFont functionFont = font;
  functionFont.setPointSize(9);
  for (QPushButton* function : cmdMode) function->setFont(functionFont);
}

void frmMap::onUnload() {
  for (QTimer* each : {tmrForExecTramsoll, tmrForRefreshMap, tmrForRecode, tmrForEnd, tmrForSendE6}) each->stop();
  program().mapRecodeModeOpen = false;
  program().mapFormOpen = false;
}

void frmMap::onActivate() { showStatusCaption(true); }

void frmMap::keyPressEvent(QKeyEvent* event) {
  if (keys_.handle(event)) return;
  ChildForm::keyPressEvent(event);
}

// ---- Modes and function buttons ----

void frmMap::setMode(int32_t newMode) {
  if (flagForEnd()) return;
  mode = newMode;
  showButtonName();
}

void frmMap::showButtonName() {
  const ProgramValues& values = program();
  const MapButtonState state{mode,
                             mapQ7netObj ? mapQ7netObj->ifMode : 0,
                             values.centralOperation,
                             values.controlChangeMode,
                             mapRecode,
                             mapRecodeTrigger,
                             mapRecodeTriggerOn,
                             mapRecodeQ7Data};
  const auto buttons = functionButtons(state);
  for (std::size_t i = 0; i < cmdMode.size(); ++i) {
    cmdMode[i]->setText(buttons[i].caption);
    cmdMode[i]->setEnabled(buttons[i].enabled);
  }
  const std::array<QPushButton*, 3> modeButtons{cmdMapMode, cmdShowMode, cmdRecodeMode};
  for (std::size_t i = 0; i < modeButtons.size(); ++i) {
    const bool current = static_cast<int32_t>(i) == mode;
    modeButtons[i]->setStyleSheet(current ? QStringLiteral("QPushButton { background: white; }") : QString());
  }
}

void frmMap::cmdMode_Click(int index) {
  if (flagForEnd() || mode < 0 || mode > 2 || index < 0 || index > 3) return;
  using Road = void (frmMap::*)();
  using ModeRoads = std::array<Road, 4>;
  static const std::array<ModeRoads, 3> kRoads{
      ModeRoads{&frmMap::mapModeF6, &frmMap::openControl, &frmMap::openRefreshMap, &frmMap::printMapWindow},
      ModeRoads{&frmMap::displayModeF6, &frmMap::displayModeF7, &frmMap::openAirconNumShow,
                &frmMap::openControlDataChange},
      ModeRoads{&frmMap::recordModeF6, &frmMap::recordModeF7, &frmMap::recordModeF8, &frmMap::recordModeF9},
  };
  const Road road = kRoads[static_cast<std::size_t>(mode)][static_cast<std::size_t>(index)];
  const QCursor pointer = cursor();
  setCursor(Qt::WaitCursor);
  (this->*road)();
  setCursor(pointer);
}

bool frmMap::mapHasUnits(bool sensorCounts) const {
  if (sensorCounts && mapQ7netObj && mapQ7netObj->flagForSensor && !mapQ7netObj->systemsSen.isEmpty()) return true;
  if (program().workMode != kWorkRecording) return true;
  return newMapQ7netObj && (!newMapQ7netObj->systems.isEmpty() || !newMapQ7netObj->systemsCen.isEmpty());
}

void frmMap::mapModeF6() {
  if (mapMode != kMapModeStored && !mapHasUnits(true)) return;
  bool sensor = false;
  checkWhetherSensorIsSelected(sensor);
  if (sensor) {
    showMapMessage(QStringLiteral("6-5"), QString(), tableText(437));
    return;
  }
  openInforInput();
}

void frmMap::displayModeF6() {
  if (!mapHasUnits(true)) return;
  setSensorData();
  sendNetMapInfo(*mapQ7netObj, tramsollApi());
  openRealtimeDataShow();
}

void frmMap::displayModeF7() { mapRecodeQ7Data ? stopRecodeQ7Data() : startRecodeQ7Data(); }

void frmMap::recordModeF6() {
  if (!mapHasUnits(true)) return;
  sendNetMapInfo(*mapQ7netObj, tramsollApi());
  mapQ7netObj->ifMode == 1 ? openRecodeSensorInput() : openRecode();
}

void frmMap::recordModeF7() {
  if (!mapHasUnits(true)) return;
  if (mapRecode) {
    stopRecode();
    return;
  }
  // The check before the start sizes the systems by the library's answer,
  // which needs the map's units.
  sendNetMapInfo(*mapQ7netObj, tramsollApi());
  startRecodeChecked();
}

void frmMap::recordModeF8() {
  if (!mapHasUnits(false)) return;
  sendNetMapInfo(*mapQ7netObj, tramsollApi());
  openRecodeTrigger();
}

void frmMap::recordModeF9() {
  if (!mapHasUnits(false)) return;
  if (mapRecodeTrigger) {
    stopRecodeTrigger();
    return;
  }
  sendNetMapInfo(*mapQ7netObj, tramsollApi());
  startRecodeTriggerChecked();
}

// ---- Paging and selection ----

void frmMap::page(int step) {
  if (flagForEnd() || flagPagingBusy_) return;
  flagMapIdle_ = false;
  flagPagingBusy_ = true;
  const auto done = qScopeGuard([this] {
    flagPagingBusy_ = false;
    unsetCursor();
    flagMapIdle_ = true;
  });
  setCursor(Qt::WaitCursor);
  const int32_t target = mapShowManagerObj.pageNumberNow + step;
  if (target >= 1 && target <= mapShowManagerObj.totalPages) {
    mapShowManagerObj.pageNumberNow = target;
    showMap();
  }
  if (picMap->cmdAircon[0]->isVisible()) picMap->cmdAircon[0]->setFocus();
}

void frmMap::unitFocused(int index) {
  selectedIcon_ = index;
  const int32_t kind = mapShowManagerObj.systemKindNow;
  if (kind == kOrdinarySystem || kind == kSensorSystem) {
    mapShowManagerObj.airconNumberNow = index + 1;
  } else if (kind == kCentralSystem) {
    if (const int32_t row = centralRowOfButton(index)) mapShowManagerObj.systemCenNow = row;
  }
  picMap->colourUnits(index);
}

void frmMap::checkWhetherSensorIsSelected(bool& selected) {
  selected = ::checkWhetherSensorIsSelected(mapShowManagerObj, selectedIcon_);
}

// ---- Pages and drawing ----

void frmMap::setDataToMapShowManagerObj() {
  if (!mapQ7netObj) return;
  const PagingOutcome outcome = ::setDataToMapShowManagerObj(*mapQ7netObj, mapShowManagerObj, firstPagingDone_);
  if (outcome.firstPaging) {
    selectedIcon_ = 0;
    picMap->colourUnits(0);
  }
  if (outcome.paged) showMap();
}

void frmMap::showMap() {
  if (!mapQ7netObj) return;
  const MapPageScene scene =
      layoutMapPage(*mapQ7netObj, mapShowManagerObj, program().workMode, mapDataReady_, tableText(6));
  picMap->apply(scene);
  cmdUp->setEnabled(scene.cmdUpEnabled);
  cmdDown->setEnabled(scene.cmdDownEnabled);
  mapDataReady_ = scene.mapDataReady;
  if (!scene.drawn) return;
  scene.selection.storeInto(mapShowManagerObj);
  setFlagLabelRecode();
  showRecodeLabels();
  showStatusCaption(isActiveWindow());
}

void frmMap::setFlagLabelRecode() {
  if (mapQ7netObj) ::setFlagLabelRecode(*mapQ7netObj, mapShowManagerObj, marks_);
}

void frmMap::showRecodeLabels() {
  const RecordingLabels labels = recodeLabels(marks_, mapRecode, mapRecodeTrigger, mapRecodeTriggerOn);
  for (std::size_t row = 0; row < labels.recodeVisible.size(); ++row) {
    picMap->lblRecode[row]->setVisible(labels.recodeVisible[row]);
    if (labels.triggerVisible[row]) picMap->lblRecodeTrigger[row]->setText(labels.triggerCaption[row]);
    picMap->lblRecodeTrigger[row]->setVisible(labels.triggerVisible[row]);
  }
}

void frmMap::showMapAllNotVisible() {
  picMap->apply(hiddenMapScene());
  cmdUp->setEnabled(false);
  cmdDown->setEnabled(false);
  mapDataReady_ = false;
  showStatusCaption(isActiveWindow());
}

bool frmMap::isActiveWindow() const {
  const QMdiArea* area = mainMdiArea();
  return area && subWindow() && area->activeSubWindow() == subWindow();
}

void frmMap::showStatusCaption(bool active) {
  if (flagForEnd()) return;
  setCursor(mapDataReady_ ? Qt::ArrowCursor : Qt::WaitCursor);
  if (active) setMainStatusText(mapStatusCaption(mapDataReady_));
}

// ---- The library's status, once a second ----

void frmMap::tmrForExecTramsoll_Timer() {
  // A message of the last tick may still be open: this tick waits its turn.
  if (flagPollBusy_) return;
  flagPollBusy_ = true;
  const auto done = qScopeGuard([this] { flagPollBusy_ = false; });
  int32_t periodic = 0;
  int32_t trigger = 0;
  const int32_t result = tramsollApi().execTramsoll(&periodic, &trigger);
  if (mapRecode && periodic == 0) stopRecode();
  if (mapRecodeTrigger) {
    if (trigger == 0) stopRecodeTrigger();
    if (!mapRecodeTriggerOn && trigger == 2) {
      mapRecodeTriggerOn = true;
      showButtonName();
      showRecodeLabels();
    }
  }
  const bool quiet = static_cast<bool>(program().dialogOpen);
  if (result == 3) {
    stopRunningRecordings();
    if (!quiet) showMapMessage(QStringLiteral("6-3"), tableText(432), tableText(433));
  } else if (result == 2) {
    if (!quiet) showMapMessage(QStringLiteral("6-1"), tableText(428), tableText(429));
    restartGathering();
  }
}

// After an adapter time-out: gathering starts again as it was started last.
void frmMap::restartGathering() {
  // Stopping gathering ends a bus log in the library; the key must not go
  // on offering its end.
  if (mapRecodeQ7Data) stopRecodeQ7Data();
  TramsollApi& api = tramsollApi();
  stopGathering(api);
  sendCentralOperation(api);
  if (startGathering(api) == 3 && !program().dialogOpen) {
    showMapMessage(QStringLiteral("5-3"), tableText(424), tableText(425));
  }
}

void frmMap::showMapMessage(const QString& key, const QString& line1, const QString& line2) {
  setFocus();
  showMessage(key, line1, line2, QString());
}

// ---- The bus scan, every three seconds ----

void frmMap::tmrForRefreshMap_Timer() {
  if (flagForEnd() || flagRefreshBusy_ || !newMapQ7netObj) return;
  flagRefreshBusy_ = true;
  flagMapIdle_ = false;
  const auto done = qScopeGuard([this] {
    flagRefreshBusy_ = false;
    flagMapIdle_ = true;
  });
  fillScanTables(scanTables_, tramsollApi());
  buildMapFromScan(*newMapQ7netObj, scanTables_, mapFlagRecodeTrigger);
  if (mapMode == kMapModeStored) reconcileScanWithStoredMap();
  // The engineer may have closed the map in the question meanwhile.
  if (flagForEnd()) return;
  setDataToMapShowManagerObj();
}

// A stored map follows the scan while the bus still fits it; a bus that no
// longer fits is asked about, though never over another dialog.
void frmMap::reconcileScanWithStoredMap() {
  if (!mapQ7netObj || mapQ7netObj == newMapQ7netObj) return;
  switch (reconcileScanWithMap(*newMapQ7netObj, *mapQ7netObj)) {
    case ScanReconcile::kMergedBus:
      if (program().gatherQ7Init == 0) sendDkishuName(*mapQ7netObj, tramsollApi(), [this] { modelUnknownToLibrary(); });
      break;
    case ScanReconcile::kMapsDiffer:
      if (program().dialogOpen) break;
      tmrForRefreshMap->stop();
      setFocus();
      showChangeMapQuestion();
      break;
    case ScanReconcile::kNotReconciled:
    case ScanReconcile::kMergedBoard:
      break;
  }
}

// ---- Adopting the bus, rescanning ----

void frmMap::leaveOldMap() {
  dataShowForms.closeWindows();
  unloadChildWindows();
  stopRunningRecordings();
  showMapAllNotVisible();
}

void frmMap::changeMap() {
  leaveOldMap();
  ::changeMap(maps(), currentCustomer(), tramsollApi(), QDate::currentDate());
  tmrForRefreshMap->start();
}

void frmMap::refreshMap() {
  tmrForExecTramsoll->stop();
  tmrForRefreshMap->stop();
  leaveOldMap();
  ::refreshMap(maps(), currentCustomer(), tramsollApi(), QDate::currentDate());
  picMap->colourUnits(-1);
  tmrForExecTramsoll->start();
  tmrForRefreshMap->start();
}

void frmMap::modelUnknownToLibrary() {
  if (program().dialogOpen) return;
  tmrForRefreshMap->stop();
  showMapMessage(QStringLiteral("1-2"), tableText(412), tableText(413));
  tmrForRefreshMap->start();
}

// ---- Minutes of a timed recording ----

void frmMap::tmrForRecode_Timer() {
  ++recodeMinuteCount_;
  if (mapQ7netObj && recodeMinuteCount_ == mapQ7netObj->recodeTime) stopRecode();
}

// ---- Control-data requests ----

bool frmMap::controlDataBroadcastAllowed() const {
  return mapQ7netObj && ::controlDataBroadcastAllowed(mapQ7netObj->ifMode);
}

void frmMap::requestControlDataAll() {
  if (controlDataBroadcastAllowed()) tramsollApi().setAirconSendData(kControlDataRequest, kEveryUnit, 0, 0, 0);
}

void frmMap::requestControlDataAllOnce() {
  if (flagRecodeE6Sent_ || !controlDataBroadcastAllowed()) return;
  flagRecodeE6Sent_ = true;
  tramsollApi().setAirconSendData(kControlDataRequest, kEveryUnit, 0, 0, 0);
}

// ---- Printing ----

void frmMap::printMapWindow() {
  if (printWindowImage(*this) == PrintOutcome::Printed) return;
  showMapMessage(QStringLiteral("6-6"), QString(), tableText(438));
}

// ---- Closing ----

void frmMap::cancel() {
  if (flagForEnd()) return;
  if (!recordingRuns()) {
    prepareForEndFormMap();
    return;
  }
  frmStopRecode& question = frmStopRecode::instance();
  question.idCalledFrom = 0;
  question.askModal([this] { prepareForEndFormMap(); });
}

void frmMap::stopRunningRecordings() {
  if (mapRecode) stopRecode();
  if (mapRecodeTrigger) stopRecodeTrigger();
  if (mapRecodeQ7Data) stopRecodeQ7Data();
}

void frmMap::prepareForEndFormMap() {
  stopRunningRecordings();
  for (QTimer* each : {tmrForExecTramsoll, tmrForRefreshMap, tmrForRecode}) each->stop();
  // Sets flagForEnd and tells every live display window to close.
  dataShowForms.prepareForEnd();
  tmrForEnd->start();
  if (flagFormControlShow) prepareForEndFormControl();
  if (subWindow()) subWindow()->hide();
}

void frmMap::tmrForEnd_Timer() {
  if (!flagForEnd() || !flagMapIdle_) return;
  if (dataShowForms.isEmpty() && !flagFormControlShow) closeMapWindow();
}

void frmMap::closeMapWindow() {
  stopGathering();
  unloadChildWindows();
  unload();
  // The trigger conditions belong to this map's units: they go with it.
  releaseSystemTriggerObj(systemTriggerObj);
  processCustomInfor();
  saveCustomerFileShowingRefusal();
  takeWindowRoad(WindowRoad::MapsList);
}

void frmMap::processCustomInfor() {
  if (mapQ7netObj) storeMapIntoCustomer(mapQ7netObj, mapMode, currentCustomer(), program().gatherMode);
}

void saveCustomerFileShowingRefusal() {
  if (currentCustomer().id.isEmpty()) return;
  const SiteFileResult saved = saveCustomerFile();
  if (saved) return;
  ProgramValues& values = program();
  values.dialogOpen.raise();
  QMessageBox::warning(mainWindow(), tableText(19), saved.message);
  values.dialogOpen.lower();
}

bool frmMap::recordingRuns() const { return mapRecode || mapRecodeTrigger || mapRecodeQ7Data; }

void frmMap::prepareForEnd() {
  stopRunningRecordings();
  dataShowForms.prepareForEnd();
  if (program().mapFormOpen) prepareForEndFormMap();
}

bool frmMap::closed() const { return dataShowForms.isEmpty() && !program().mapFormOpen; }

// ---- Roads into the windows of other work ----

void frmMap::openInforInput() { takeWindowRoad(WindowRoad::UnitInformation); }

void frmMap::openControl() {
  frmControl& control = frmControl::instance();
  // A window still closing finishes now, so that F7 opens it afresh.
  if (control.isLoaded() && control.flagForEnd) control.tmrForEnd_Timer();
  control.mapQ7netObj = mapQ7netObj;
  connect(&control, &frmControl::closed, this, &frmMap::controlWindowClosed, Qt::UniqueConnection);
  control.showForm();
  flagFormControlShow = true;
}

void frmMap::controlWindowClosed() { flagFormControlShow = false; }

// A snapshot of the counts: an open window is only brought forward.
void frmMap::openAirconNumShow() {
  frmAirconNumShow& counts = frmAirconNumShow::instance();
  if (!counts.isLoaded()) counts.mapQ7netObj = mapQ7netObj;
  counts.showForm();
}

void frmMap::openControlDataChange() {
  const int32_t zubrelAddress = mapQ7netObj ? selectedOutdoorZubrelAddress(*mapQ7netObj, mapShowManagerObj) : 0;
  const bool answered = zubrelAddress != 0 && controlDataReceived(zubrelAddress, mapQ7netObj->ifMode, flagChangeE6Sent_);
  frmDataChange& change = frmDataChange::instance();
  change.unload();
  if (!answered) {
    showMapMessage(QStringLiteral("6-7"), tableText(439), tableText(440));
    return;
  }
  change.mapQ7netObj = mapQ7netObj;
  connect(&change, &frmDataChange::settingSent, tmrForSendE6, qOverload<>(&QTimer::start), Qt::UniqueConnection);
  connect(&change, &frmDataChange::loaded, tmrForSendE6, &QTimer::stop, Qt::UniqueConnection);
  frmCertify& certify = frmCertify::instance();
  certify.zubrelAddressDataChange = zubrelAddress;
  if (!certify.askPassword()) setFocus();
}

void frmMap::openRecode() { frmRecode::instance().showForm(); }
void frmMap::openRecodeSensorInput() { frmRecodeSensorInput::instance().showModal(); }
void frmMap::openRecodeTrigger() { frmRecodeTrigger::instance().showForm(); }
void frmMap::openRefreshMap() { frmRefreshMap::instance().askModal([this] { refreshMap(); }); }

void frmMap::showChangeMapQuestion() {
  frmChangeMap::instance().ask([this] { changeMap(); }, [this] { prepareForEndFormMap(); });
}

void frmMap::prepareForEndFormControl() { frmControl::instance().prepareForEndFormControl(); }

void frmMap::unloadChildWindows() {
  frmRecode::instance().unload();
  frmRecodeSensorInput::instance().unload();
  frmRecodeTrigger::instance().unload();
  // The unit information editor puts its list away with it.
  takeWindowRoad(WindowRoad::UnitInformationUnload);
  frmAirconNumShow::instance().unload();
  frmDataChange::instance().unload();
}
