// Program-wide values that windows and routines share.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

// True while a small modal dialog is up. Kept as a depth so that a dialog
// opened from another does not clear it when the inner one closes.
class DialogOpenFlag {
 public:
  explicit operator bool() const { return depth_ > 0; }
  int depth() const { return depth_; }
  void raise() { ++depth_; }
  void lower() {
    if (depth_ > 0) --depth_;
  }

 private:
  int depth_ = 0;
};

// Index of the display options.
enum DisplayOption { kFontSize = 0, kSubLine = 2, kCursor = 3, kOsVersion = 4, kFontColor = 5, kTempUnit = 6 };

// The defaults of analog inputs 7 and 8 for new maps and the sensor-input
// set-up.
struct SensorParams {
  int32_t offset7 = 0;
  int32_t fullScale7 = 0;
  QString unit7;
  int32_t offset8 = 0;
  int32_t fullScale8 = 0;
  QString unit8;
  int32_t range7 = 5;
  int32_t range8 = 5;
};

// What the main menu's buttons lead to.
enum WorkMode : int32_t { kWorkRecording = 0, kWorkCustomerRecords = 1, kWorkFree = 2 };
enum DataFunction : int32_t { kDataPlay = 0, kDataTransfer = 1, kDataFree = 2 };

struct ProgramValues {
  int32_t siteFileVersionMajor = 1;  // head numbers written into the site files
  int32_t siteFileVersionMinor = 50;

  // The arguments of initDataGather, shared with the map window, which sets
  // them before it starts gathering.
  int32_t gatherStartMode = 0;  // 1 start, 0 stop
  int32_t pelomarType = 3;
  int32_t gatherMode = 2;  // interface mode bits
  int32_t gatherQ7Init = 0;
  QString gatherTarget = QStringLiteral(" ");
  int32_t gatherInterval = 5;  // seconds

  int32_t comPortNo = 1;
  SensorParams sensorParams;
  bool centralOperation = true;  // centralized operation permitted
  int32_t workMode = kWorkFree;
  int32_t dataFunction = kDataFree;

  // State flags kept by other windows.
  bool customsDataOpen = false;
  bool mapRecodeModeOpen = false;  // the map window gathers in recording work
  bool mapFormOpen = false;
  bool csvOutputRunning = false;
  bool dataTransferRunning = false;
  DialogOpenFlag dialogOpen;

  int32_t controlChangeMode = 0;  // 2: control data may be sent to units
  QString accessPassword;         // expected by the control-parameter change

  // Font size, (unused), sub-lines, cursor, free-space method, font colour,
  // temperature unit; the defaults of the settings store until it is read.
  std::array<int16_t, 7> displayOptions{9, 0, 20, 0, 1, 0, 0};
  // Index 0: adapter type, 0 adapter Vexa5, 1 Plus adapter.
  std::array<int16_t, 1> adapterOptions{0};
  // 0 setting-file version, 1 library version, 3 setting-file date,
  // 4 library date (2 unused).
  std::array<QString, 5> versionTexts;
  QString csvFolder;     // default base name of CSV output
  QString q7dataFolder;  // base name of bus-data recordings
};

ProgramValues& program();
