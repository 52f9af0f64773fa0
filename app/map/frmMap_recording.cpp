// The map window's recordings and live display windows: periodic and
// trigger recording of operating data, the bus log, and the opening of a
// live display window for the selected system.
#include "display/data_show_opening.h"
#include "frame/dialogs/ask_yes_no.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/library/library_text.h"
#include "frame/library/tramsoll_api.h"
#include "frame/program_values.h"
#include "frame/site/paths.h"
#include "frame/site/site_files.h"
#include "frame/texts/text_table.h"
#include "map/frmMap.h"
#include "map/frmQ7dataSameFile.h"
#include "map/map_library.h"
#include "map/map_live_display.h"
#include "map/map_recording.h"
#include "recording/frmFileSizeOver.h"
#include "recording/frmRecode.h"
#include "recording/frmRecodeSensorInput.h"
#include "recording/frmRecodeTrigger.h"
#include "recording/recording_systems.h"
#include "recording/sensor_items.h"

#include <QTimer>

namespace {

constexpr int32_t kStart = 1;
constexpr int32_t kStop = 0;
constexpr int32_t kStoppedByTime = 1;
constexpr int32_t kSensorOnlyMode = 1;
constexpr int kOverwriteQuestion = 376;
constexpr int32_t kFolderTooLong = 1;


bool mapWithSensorInputs(int32_t ifMode) { return ifMode == kSensorOnlyMode || recordsSensorInputs(ifMode); }

}  // namespace

// ---- Periodic recording ----

void frmMap::startRecode() {
  if (!mapQ7netObj) return;
  MapQ7net& map = *mapQ7netObj;
  if (!mayReplaceFilesWithoutCustomer(periodicFilesWouldBeReplaced) || !sendFileHeaderOrTell()) return;
  if (mapWithSensorInputs(map.ifMode)) setSensorData();
  TramsollApi& api = tramsollApi();
  sendNetMapInfo(map, api);
  SystemSelection selection = periodicSelection(map);
  if (!startAnswered(api.saveConstData(kStart, selection.data(), map.recodeInterval))) return;
  if (map.recodeMethod == kStoppedByTime) {
    recodeMinuteCount_ = 0;
    tmrForRecode->start();
  }
  mapRecode = true;
  showRecordingStarted();
}

void frmMap::stopRecode() {
  SystemSelection none{};
  tramsollApi().saveConstData(kStop, none.data(), mapQ7netObj ? mapQ7netObj->recodeInterval : 0);
  recodeMinuteCount_ = 0;
  tmrForRecode->stop();
  mapRecode = false;
  showButtonName();
  showRecodeLabels();
}

// ---- Trigger recording ----

void frmMap::startRecodeTrigger() {
  if (!mapQ7netObj) return;
  MapQ7net& map = *mapQ7netObj;
  if (!mayReplaceFilesWithoutCustomer(triggerFileWouldBeReplaced) || !sendFileHeaderOrTell()) return;
  TramsollApi& api = tramsollApi();
  sendNetMapInfo(map, api);
  frmRecodeTrigger::instance().setTriggerConditionForSave();
  if (!startAnswered(api.saveTrigData(kStart, triggerSystemIndex(map), map.recodeTriggerTime))) return;
  mapRecodeTrigger = true;
  mapRecodeTriggerOn = false;
  showRecordingStarted();
}

void frmMap::stopRecodeTrigger() {
  tramsollApi().saveTrigData(kStop, 0, mapQ7netObj ? mapQ7netObj->recodeTriggerTime : 0);
  mapRecodeTrigger = false;
  mapRecodeTriggerOn = false;
  showButtonName();
  showRecodeLabels();
}

void frmMap::stopRecodeAll() {
  stopRecode();
  stopRecodeTrigger();
}

// ---- The steps the starts share ----

// Without a customer the library first deletes what the last such recording
// left in the program folder: the engineer is asked before it is lost.
bool frmMap::mayReplaceFilesWithoutCustomer(bool (*wouldReplace)(const QString& folder)) {
  if (!currentCustomer().id.isEmpty() || !wouldReplace(programFolder())) return true;
  return askYesNoFromTexts(kOverwriteQuestion, 1) == kAnswerYes;
}

bool frmMap::sendFileHeaderOrTell() {
  if (sendFileHeader(*mapQ7netObj, currentCustomer(), serviceShop(), programFolder(), tramsollApi()) !=
      kFolderTooLong) {
    return true;
  }
  showMapMessage(QStringLiteral("6-2"), tableText(430), tableText(431));
  return false;
}

// A start the library refused (no file, not gathering, already running) is
// told at once, and the map goes on offering the start.
bool frmMap::startAnswered(int32_t result) {
  if (result == 0) return true;
  showMapMessage(QString(), QStringLiteral("The recording could not be started."),
                 QStringLiteral("(result %1)").arg(result));
  return false;
}

void frmMap::showRecordingStarted() {
  showButtonName();
  setFlagLabelRecode();
  showRecodeLabels();
  requestControlDataAllOnce();
}

void frmMap::checkWhetherCanRecode(int32_t systemKind, int32_t systemNo, bool& result) {
  result = mapQ7netObj && systemCanRecode(*mapQ7netObj, systemKind, systemNo);
}

void frmMap::startRecodeChecked() {
  // The set-up's own check and size comparison, on its one instance whether
  // it is open or not.
  int32_t result = 0;
  bool over = false;
  const auto check = [&result, &over](auto& setUp) {
    setUp.checkRecodeData(result);
    if (result == 0) setUp.whetherFileSizeOver(over);
  };
  if (mapQ7netObj->ifMode == 1) {
    check(frmRecodeSensorInput::instance());
  } else {
    check(frmRecode::instance());
  }
  if (result != 0) return;
  if (!over) {
    startRecode();
    return;
  }
  frmFileSizeOver& question = frmFileSizeOver::instance();
  question.idCalledFrom = frmFileSizeOver::kPeriodicRecording;
  question.ask();
}

void frmMap::startRecodeTriggerChecked() {
  // The trigger set-up's check and size comparison, on its one instance
  // whether it is open or not.
  frmRecodeTrigger& setUp = frmRecodeTrigger::instance();
  int32_t result = frmRecodeTrigger::kTriggerReady;
  setUp.checkRecodeTriggerData(result);
  if (result != frmRecodeTrigger::kTriggerReady) return;
  bool over = false;
  setUp.whetherFileSizeOver(over);
  if (!over) {
    startRecodeTrigger();
    return;
  }
  frmFileSizeOver& question = frmFileSizeOver::instance();
  question.idCalledFrom = frmFileSizeOver::kTriggerRecording;
  question.ask();
}

void frmMap::setSensorData() {
  if (mapQ7netObj) ::setSensorData(*mapQ7netObj);
}

// ---- The bus log ----

void frmMap::startRecodeQ7Data() {
  // Without its folder (it could not be made at start, which was told then)
  // there is nowhere to log.
  if (program().q7dataFolder.isEmpty()) return;
  if (!checkWhetherQ7dataFileExists(program().q7dataFolder)) {
    doRecodeq7Data();
    return;
  }
  frmQ7dataSameFile::instance().askModal([this] {
    if (flagForEnd()) return;
    bool deleted = false;
    deleteQ7dataFile(program().q7dataFolder, deleted);
    if (deleted) doRecodeq7Data();
  });
}

void frmMap::doRecodeq7Data() {
  const QByteArray base = textForLibrary(program().q7dataFolder);
  TramsollApi& api = tramsollApi();
  if (api.saveQ7Data(kStart, base.constData()) != 0) {
    // Nothing is logged (not on the bus, or no file): what the library began
    // is ended, and the key goes on offering the start.
    api.saveQ7Data(kStop, base.constData());
    return;
  }
  mapRecodeQ7Data = true;
  showButtonName();
}

void frmMap::stopRecodeQ7Data() {
  tramsollApi().saveQ7Data(kStop, textForLibrary(program().q7dataFolder).constData());
  mapRecodeQ7Data = false;
  showButtonName();
}

void frmMap::deleteQ7dataFile(const QString& basePath, bool& result) {
  const BusLogDeletion deletion = deleteBusLogs(basePath);
  result = deletion.done();
  if (deletion.lastFailed.isEmpty()) return;
  showMessage(QStringLiteral("6-4"), deletion.lastFailed + tableText(434), tableText(435), tableText(436));
}

// ---- Live display windows ----

void frmMap::openRealtimeDataShow() {
  // A live central-bus system is numbered after the map's ordinary systems.
  const auto ordinarySystems = [this] { return mapQ7netObj ? mapQ7netObj->systems.count() : 0; };
  const DataShowOpening opening = openDataShow(dataShowForms, liveDataShow(ordinarySystems),
                                               [this](GraphSystem& graph) { setDataToGraphSystemObj(graph); });
  // Every window that opened asks the units for their control data.
  if (opening.outcome == DataShowOpened::Shown) requestControlDataAll();
}

void frmMap::setDataToGraphSystemObj(GraphSystem& graph) {
  if (mapQ7netObj) ::setDataToGraphSystemObj(*mapQ7netObj, mapShowManagerObj, selectedIcon_, graph);
}
