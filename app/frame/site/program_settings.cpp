#include "frame/site/program_settings.h"

#include "frame/site/settings_store.h"

#include <algorithm>

namespace {

QString name(const char* text) { return QString::fromLatin1(text); }

constexpr int32_t kWindowStateMaximized = 2;

const std::array<DisplayOptionSetting, 6> kDisplaySettings{{
    {kFontSize, "FontSz", "FontSz", 9, {8, 9, 0}, 2, 9},
    {kSubLine, "SbLine", "SbLine", 20, {0, 10, 20}, 3, 0},
    // Read as "HCursor", written as "Hcursor": the store does not tell them apart.
    {kCursor, "HCursor", "Hcursor", 0, {0, 1, 0}, 2, 0},
    {kOsVersion, "OSver", "OSver", 1, {0, 1, 0}, 2, 1},
    {kFontColor, "FntClr", "FntClr", 0, {0, 1, 0}, 2, 0},
    {kTempUnit, "TmpUnit", "TmpUnit", 0, {0, 1, 0}, 2, 0},
}};

int32_t readRange(const char* key) {
  const int32_t range = settings::readNumber(name(kSectionSensorInput), name(key), 0);
  return (range == 1 || range == 5) ? range : 5;
}

}  // namespace

const std::array<DisplayOptionSetting, 6>& displayOptionSettings() { return kDisplaySettings; }

const DisplayOptionSetting& displayOptionSetting(DisplayOption option) {
  for (const DisplayOptionSetting& setting : kDisplaySettings) {
    if (setting.option == option) return setting;
  }
  return kDisplaySettings[0];
}

int16_t acceptedDisplayIndex(const DisplayOptionSetting& setting, int32_t index) {
  const auto accepted = setting.accepted.begin();
  if (std::find(accepted, accepted + setting.acceptedCount, index) != accepted + setting.acceptedCount) {
    return static_cast<int16_t>(index);
  }
  return setting.replacement;
}

int32_t readDisplayOptionSetting(const DisplayOptionSetting& setting) {
  return settings::readNumber(name(kSectionDisplay), name(setting.readKey), setting.storedDefault);
}

bool writeDisplayOptionSetting(const DisplayOptionSetting& setting, int32_t index) {
  return settings::writeNumber(name(kSectionDisplay), name(setting.writtenKey), index);
}

WindowPlace readMainWindowPlace() {
  const QString section = name(kSectionDisplay);
  WindowPlace place;
  place.width = std::max(settings::readNumber(section, QStringLiteral("Win_Width"), 9600), kMinimumWindowWidth);
  place.height = std::max(settings::readNumber(section, QStringLiteral("Win_Height"), 7095), kMinimumWindowHeight);
  place.top = std::max(settings::readNumber(section, QStringLiteral("Win_Top"), 0), 0);
  place.left = std::max(settings::readNumber(section, QStringLiteral("Win_Left"), 0), 0);
  place.maximized = settings::readNumber(section, QStringLiteral("Win_State"), 0) == kWindowStateMaximized;
  return place;
}

bool writeMainWindowPlace(const WindowPlace& place) {
  const QString section = name(kSectionDisplay);
  // Every key is written, also after a failed one.
  bool written = settings::writeNumber(section, QStringLiteral("Win_Width"), place.width);
  written &= settings::writeNumber(section, QStringLiteral("Win_Height"), place.height);
  written &= settings::writeNumber(section, QStringLiteral("Win_Top"), place.top);
  written &= settings::writeNumber(section, QStringLiteral("Win_Left"), place.left);
  written &= settings::writeNumber(section, QStringLiteral("Win_State"), place.maximized ? kWindowStateMaximized : 0);
  return written;
}

int32_t readComPortSetting() {
  const int32_t port = settings::readNumber(name(kSectionSerialPort), QStringLiteral("PortNo"), 1);
  return (port >= 1 && port <= 8) ? port : 1;
}

SensorParams readSensorParamsSetting() {
  const QString section = name(kSectionSensorInput);
  SensorParams sensor;
  sensor.offset7 = settings::readNumber(section, QStringLiteral("Offset7"), 0);
  sensor.fullScale7 = settings::readNumber(section, QStringLiteral("FullScale7"), 0);
  sensor.unit7 = settings::readText(section, QStringLiteral("Unit7"), QString());
  sensor.offset8 = settings::readNumber(section, QStringLiteral("Offset8"), 0);
  sensor.fullScale8 = settings::readNumber(section, QStringLiteral("FullScale8"), 0);
  sensor.unit8 = settings::readText(section, QStringLiteral("Unit8"), QString());
  sensor.range7 = readRange("Range7");
  sensor.range8 = readRange("Range8");
  return sensor;
}

bool writePortAndSensorSettings(int32_t comPortNo, const SensorParams& sensor) {
  bool written = settings::writeNumber(name(kSectionSerialPort), QStringLiteral("PortNo"), comPortNo);
  const QString section = name(kSectionSensorInput);
  written &= settings::writeNumber(section, QStringLiteral("Offset7"), sensor.offset7);
  written &= settings::writeNumber(section, QStringLiteral("FullScale7"), sensor.fullScale7);
  written &= settings::writeText(section, QStringLiteral("Unit7"), sensor.unit7);
  written &= settings::writeNumber(section, QStringLiteral("Offset8"), sensor.offset8);
  written &= settings::writeNumber(section, QStringLiteral("FullScale8"), sensor.fullScale8);
  written &= settings::writeText(section, QStringLiteral("Unit8"), sensor.unit8);
  written &= settings::writeNumber(section, QStringLiteral("Range7"), sensor.range7);
  written &= settings::writeNumber(section, QStringLiteral("Range8"), sensor.range8);
  return written;
}
