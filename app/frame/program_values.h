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

struct ProgramValues {
  int32_t siteFileVersionMajor = 1;  // head numbers written into the site files
  int32_t siteFileVersionMinor = 50;
  int32_t comPortNo = 1;
  DialogOpenFlag dialogOpen;
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
