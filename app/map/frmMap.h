// The network map window: the central window of one map. It polls the
// library every second, scans the bus every three seconds and builds (or
// reconciles) the map from the scan, shows the map a page at a time, and
// offers every operation on the map through four function buttons whose
// meaning follows the window's mode: map, display or record.
//
// Closing takes two steps: prepareForEndFormMap stops what runs for the map,
// tells its live display windows to close and hides the window; the end
// timer then closes it once those windows have gone, stores the map into the
// customer and goes back to the map list. The window takes part in the end
// of the program through ProgramEndParticipant.
//
// Roads into windows that other work builds (unit information, central
// operation, the recording set-ups...) are one public
// method each, so that each is re-pointed in one place.
#pragma once

#include "display/display_window_owner.h"
#include "frame/end_participant.h"
#include "frame/key_table.h"
#include "frame/single_form.h"
#include "map/map_buttons.h"
#include "map/map_marks.h"
#include "map/map_scan.h"
#include "map/map_window_maps.h"
#include "map/unit_information_map.h"
#include "recording/recording_map_window.h"
#include "types/GraphSystem.h"
#include "types/MapQ7net.h"
#include "types/MapShowManager.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class MapPicture;
class QPushButton;
class QTimer;

class frmMap : public SingleForm<frmMap, ChildForm>, public ProgramEndParticipant, public RecordingMapWindow,
               public UnitInformationMap {
  Q_OBJECT
 public:
  // ---- What other windows ask of it ----
  // Puts `map` in the window as the live scan that the bus builds
  // (kMapModeScan), before the window is shown: the pages of the earlier map
  // go, and the scan map of a stored map is released (a scan-mode map may be
  // the customer's already).
  void openOnScan(const std::shared_ptr<MapQ7net>& map);
  // How the window was opened: kMapModeScan or kMapModeStored.
  int32_t openedMode() const { return mapMode; }
  // The map the scan builds (the shown one in scan mode).
  std::shared_ptr<MapQ7net> scanMap() const { return newMapQ7netObj; }
  // Recordings running: periodic, trigger (armed or running), trigger met,
  // bus data.
  bool isRecordingPeriodic() const { return mapRecode; }
  bool isRecordingTrigger() const { return mapRecodeTrigger; }
  bool isTriggerMet() const { return mapRecodeTriggerOn; }
  bool isRecordingBusData() const { return mapRecodeQ7Data; }
  // The centralized-operation window is open.
  bool isControlWindowOpen() const { return flagFormControlShow; }
  // Set while the window closes; its buttons, keys and scans then do nothing.
  bool flagForEnd() const { return dataShowForms.flagForEnd(); }
  // The selected unit button, 0..23.
  int32_t selectedIcon() const { return selectedIcon_; }
  // The window's maps, for the operations that replace the shown map.
  MapWindowMaps maps();

  // ---- The window's own operations ----
  // Captions, enabling and colours of the mode and function buttons.
  void showButtonName();
  // Divides the shown map into pages, keeps the engineer's place and draws
  // the current page.
  void setDataToMapShowManagerObj();
  // Draws the current page; the page manager's place follows it.
  void showMap();
  // True when the selected unit button holds the sensor icon.
  void checkWhetherSensorIsSelected(bool& selected);
  void setFlagLabelRecode();
  // Hides the whole map area while the map is rebuilt.
  void showMapAllNotVisible();
  // The first step of closing (Cancel without recording, or the program's
  // end); the end timer does the rest.
  void prepareForEndFormMap();
  // Stores the map into the current customer.
  void processCustomInfor();
  void removeFormDataShow(const frmDataShow& form) { dataShowForms.removeFormDataShow(form); }
  // The shown map replaced by one rebuilt from the bus: changeMap adopts the
  // last scan (a stored bus map the bus no longer fits), refreshMap starts
  // from an empty map (the rescan). Both close what hangs on the old map,
  // stop every recording, restart gathering with the initial bus scan and
  // keep the units' customer-record data and the customer's map; the window
  // then shows the live scan.
  void changeMap();
  void refreshMap();
  // Prints the window on the default printer; "6-6" when there is none.
  void printMapWindow();
  // A control-data request to every unit of a bus map (when the setting file
  // and the centralized-operation setting allow it): at every opening for
  // recording work, and once per opening when a recording starts.
  void requestControlDataAll();
  void requestControlDataAllOnce();

  // ---- Recordings: periodic and trigger recording of operating data, and
  // the bus log ----
  // Starts take the set-up stored on the map; a start the library refuses
  // is told and changes nothing. Stops tell the library even when nothing
  // runs.
  void startRecode();
  void stopRecode();
  void startRecodeTrigger();
  void stopRecodeTrigger();
  void stopRecodeAll();
  // Asks first when bus logs of an earlier recording stand in the folder.
  void startRecodeQ7Data();
  // Starts the bus log without asking.
  void doRecodeq7Data();
  void stopRecodeQ7Data();
  // Removes the earlier bus logs of the base path; false (and "6-4" naming
  // the last) when one stays, false silently when the folder cannot be read.
  void deleteQ7dataFile(const QString& basePath, bool& result);
  // Whether the system (kind 0 or 100, number within its collection) has a
  // unit on line.
  void checkWhetherCanRecode(int32_t systemKind, int32_t systemNo, bool& result);
  // Record mode F7 and F9 before a start: the set-up's check and the size
  // check, then the start (or the question when the file may not fit).
  void startRecodeChecked();
  void startRecodeTriggerChecked();

  // ---- Live display windows ----
  // Display mode F6, after the units went to the library: a live window for
  // the system under the selection, held in dataShowForms.
  void openRealtimeDataShow();
  // The new window's model from the map and the selection.
  void setDataToGraphSystemObj(GraphSystem& graph);

  // ---- Roads into the windows of other work ----
  void openInforInput();         // map mode F6: the unit-information editor
  void openControl();            // map mode F7: centralized operation
  void openRefreshMap();         // map mode F8: the rescan question
  void openAirconNumShow();      // display mode F8: the unit counts
  void openControlDataChange();  // display mode F9: the control-parameter change
  void setSensorData();          // the map's sensor inputs to the library
  void openRecode();             // record mode F6: the periodic set-up
  void openRecodeSensorInput();  // record mode F6 of a sensor-only map (modal)
  void openRecodeTrigger();      // record mode F8: the trigger set-up
  void showChangeMapQuestion();  // a scan that no longer fits the stored bus map
  void prepareForEndFormControl();  // the centralized-operation window is told to close
  // The set-up and unit windows the closing map unloads.
  void unloadChildWindows();

  // ---- Timer steps ----
  void tmrForExecTramsoll_Timer();
  void tmrForRefreshMap_Timer();
  void tmrForRecode_Timer();
  void tmrForEnd_Timer();

  // ---- The end of the program ----
  bool recordingRuns() const override;
  void prepareForEnd() override;
  bool closed() const override;

  // Cancel (Esc, the close box): asks first while a recording runs.
  void cancel() override;

  // ---- The window as the recording set-ups see it ----
  std::shared_ptr<MapQ7net> recordingMap() const override { return mapQ7netObj; }
  bool periodicRecordingRuns() const override { return mapRecode; }
  GraphSystem& triggerModel() override { return systemTriggerObj; }
  bool triggerRecordingRuns() const override { return mapRecodeTrigger; }
  bool sensorInputSetUpShown() const override { return flagRecodeSensorInputShow; }
  void noteSensorInputSetUpShown() override { flagRecodeSensorInputShow = true; }
  void refreshModeButtons() override { showButtonName(); }
  bool mapClosing() const override { return flagForEnd(); }
  void startPeriodicRecording() override { startRecode(); }
  void startTriggerRecording() override { startRecodeTrigger(); }

  // ---- The window as the unit-information windows see it ----
  MapQ7net* shownMap() const override { return mapQ7netObj.get(); }
  const MapShowManager& shownPlace() const override { return mapShowManagerObj; }
  void redrawMap() override { showMap(); }
  ChildForm& mapWindow() override { return *this; }

  static constexpr int kWidth = 9300;
  static constexpr int kHeight = 5600;

 protected:
  frmMap();
  void onLoad() override;
  void onUnload() override;
  void onActivate() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Tests force states and reach the controls through this one door.
  friend struct MapWindowInside;

  // ---- The window's state: how it was opened, the map the scan builds,
  // the map shown, the pages and the place in them, the trigger-condition
  // model.
  int32_t mapMode = kMapModeScan;
  std::shared_ptr<MapQ7net> newMapQ7netObj;
  std::shared_ptr<MapQ7net> mapQ7netObj;
  MapShowManager mapShowManagerObj;
  GraphSystem systemTriggerObj;
  // The open live display windows.
  DisplayWindowOwner dataShowForms;
  // Recordings running: periodic, trigger (armed or running), trigger met,
  // bus data; a default trigger system has been marked.
  bool mapRecode = false;
  bool mapRecodeTrigger = false;
  bool mapRecodeTriggerOn = false;
  bool mapFlagRecodeTrigger = false;
  bool mapRecodeQ7Data = false;
  bool flagFormControlShow = false;        // the centralized-operation window is open
  bool flagRecodeSensorInputShow = false;  // the sensor-input set-up is open
  // The screen mode (kMapScreenMode, kDisplayScreenMode, kRecordScreenMode).
  int32_t mode = kMapScreenMode;

  // ---- Timers ----
  QTimer* tmrForExecTramsoll = nullptr;  // 1000 ms: the library's status
  QTimer* tmrForRefreshMap = nullptr;    // 3000 ms: the bus scan
  QTimer* tmrForRecode = nullptr;        // 60000 ms: minutes of a timed recording
  QTimer* tmrForEnd = nullptr;           // 2000 ms: finishes closing
  QTimer* tmrForSendE6 = nullptr;        // 5000 ms, one shot: the control-parameter change

  // ---- Controls ----
  MapPicture* picMap = nullptr;
  QPushButton* cmdUp = nullptr;
  QPushButton* cmdDown = nullptr;
  QPushButton* cmdMapMode = nullptr;
  QPushButton* cmdShowMode = nullptr;
  QPushButton* cmdRecodeMode = nullptr;
  std::array<QPushButton*, 4> cmdMode{};  // F6..F9
  QPushButton* cmdCancel = nullptr;

  void makeButtons();
  void makeTimers();
  void showCaption();
  void startTimersForWork();
  void setMode(int32_t newMode);
  void cmdMode_Click(int index);
  void page(int step);
  void unitFocused(int index);
  void showRecodeLabels();
  void showStatusCaption(bool active);
  bool isActiveWindow() const;
  // The map has units to work on; with sensorCounts a sensor-only map counts.
  bool mapHasUnits(bool sensorCounts) const;
  bool controlDataBroadcastAllowed() const;
  void stopRunningRecordings();
  // The recording roads' steps.
  bool mayReplaceFilesWithoutCustomer(bool (*wouldReplace)(const QString& folder));
  bool sendFileHeaderOrTell();
  bool startAnswered(int32_t result);
  void showRecordingStarted();
  void reconcileScanWithStoredMap();
  // What changeMap and refreshMap do first: the live windows told to
  // close, the set-up and unit windows unloaded, the recordings stopped,
  // the map area hidden.
  void leaveOldMap();
  void modelUnknownToLibrary();
  void restartGathering();
  void showMapMessage(const QString& key, const QString& line1, const QString& line2);
  void closeMapWindow();
  void controlWindowClosed();

  // Function-button roads by mode (rows) and key F6..F9 (columns).
  void mapModeF6();
  void displayModeF6();
  void displayModeF7();
  void recordModeF6();
  void recordModeF7();
  void recordModeF8();
  void recordModeF9();

  KeyTable keys_;
  MapScanTables scanTables_;
  RecordingMarks marks_;
  int32_t selectedIcon_ = 0;
  int32_t recodeMinuteCount_ = 0;
  bool firstPagingDone_ = false;
  bool mapDataReady_ = false;
  bool flagPagingBusy_ = false;
  bool flagRefreshBusy_ = false;
  bool flagPollBusy_ = false;
  bool flagMapIdle_ = true;
  bool flagChangeE6Sent_ = false;
  bool flagRecodeE6Sent_ = false;
};

// Writes the current customer's file when the customer has an id (recording
// without a customer writes nothing); a refusal shows as a warning.
void saveCustomerFileShowingRefusal();
