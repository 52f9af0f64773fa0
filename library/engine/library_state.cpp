#include "engine/library_state.h"

#include <mutex>

#include "adapter/adapter_status.h"
#include "adapter/consumers.h"
#include "adapter/link_state.h"
#include "adapter/serial_device.h"
#include "adapter/serial_port.h"
#include "adapter/vexa5.h"
#include "base/clock.h"
#include "base/debug_ring.h"
#include "base/status_words.h"
#include "base/table_growth.h"
#include "engine/frame.h"
#include "engine/gathering.h"
#include "engine/search.h"
#include "engine/settings.h"
#include "engine/timer_step.h"
#include "files/csv_export.h"
#include "files/das_format.h"
#include "files/file_list.h"
#include "files/recording.h"
#include "q7/q7_engine.h"
#include "store/live_table.h"
#include "store/recv_ring.h"
#include "tables/all_tables.h"
#include "tables/conversion_tables.h"
#include "tables/model_tables.h"
#include "tables/setting_tables.h"
#include "tables/table_words.h"

namespace tramsoll {

namespace {

// The worker goes first: no step may run while the tables below it go.
void endGathering() {
  std::lock_guard control(gatheringControlMutex());
  ExportFrame frame;
  stopGathering(frame);
}

void resetEngine() {
  gatherValues() = GatherValues{};
  adapterType.store(0);
  centralOperationFlag.store(0);
  setWorkerAutostart(true);
  setSnapshotObserver(nullptr);
  minMaxSearch() = MinMaxSearch{};
  valueSearch() = ValueSearch{};
}

// The CSV job and the searches hold listed files open, so they go before
// the list.
void resetFiles() {
  discardCsvJob();
  setCsvDateRange(nullptr, nullptr, 0);
  clearSaveSlots(das::kPeriodic);
  clearSaveSlots(das::kTrigger);
  setPendingFileHeader("", "", "", "", "");
  clearListedFiles();
}

void resetBusEngine() { busEngine() = Q7Engine{}; }

void resetAdapter() {
  if (portIsOpen()) closePort();
  clearLinkState();
  resetStartCommandState();
  resetAdapterStatus();
  setLiveDataSink(nullptr);
  setAdapterStatusSink(nullptr);
  setBusLogSink(nullptr);
  setSerialDeviceFactory(nullptr);
}

void resetStore() {
  freeUnitTables();
  liveDataTable().setFrameKeyLength(0);
  recvRingRelease();
}

void resetTables() {
  clearSettingTables();
  resetModelTables();
  resetConversionTables();
  checkMode = false;
  setTableWords(TableWords{});
  tempUnitFlag.store(0);
}

void resetBase() {
  clearErrorWords();
  gatherState.store(0);
  debugRing().clear();
  failNextGrowths(0);
  setClock(nullptr);
}

}  // namespace

void resetLibraryState() {
  endGathering();
  resetEngine();
  resetFiles();
  resetBusEngine();
  resetAdapter();
  resetStore();
  resetTables();
  resetBase();
}

}  // namespace tramsoll
