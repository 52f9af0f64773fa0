#include "recording/sensor_items.h"

#include "frame/library/tramsoll_api.h"
#include "frame/number_box.h"
#include "frame/program_values.h"


namespace {

int32_t MapQ7net::*const kChecks[kSensorInputs] = {
    &MapQ7net::check1, &MapQ7net::check2, &MapQ7net::check3, &MapQ7net::check4,
    &MapQ7net::check5, &MapQ7net::check6, &MapQ7net::check7, &MapQ7net::check8};
QString MapQ7net::*const kItemNames[kSensorInputs] = {
    &MapQ7net::itemName1, &MapQ7net::itemName2, &MapQ7net::itemName3, &MapQ7net::itemName4,
    &MapQ7net::itemName5, &MapQ7net::itemName6, &MapQ7net::itemName7, &MapQ7net::itemName8};
const char* const kFixedNames[kSensorInputs] = {"Th1", "Th2", "Th3", "Th4", "HP", "LP", "Th5", "Th6"};

// Inputs 7 and 8: their fields on the map and their program-wide defaults.
struct AnalogInput {
  int channel;
  const char* analogName;
  int32_t MapQ7net::*switchPosition;
  int32_t MapQ7net::*range;
  int32_t MapQ7net::*offset;
  int32_t MapQ7net::*fullScale;
  QString MapQ7net::*unit;
  int32_t SensorParams::*defaultRange;
  int32_t SensorParams::*defaultOffset;
  int32_t SensorParams::*defaultFullScale;
  QString SensorParams::*defaultUnit;
};
const AnalogInput kAnalogInputs[2] = {
    {7, "A", &MapQ7net::switch7, &MapQ7net::range7, &MapQ7net::offset7, &MapQ7net::fullscall7, &MapQ7net::unit7,
     &SensorParams::range7, &SensorParams::offset7, &SensorParams::fullScale7, &SensorParams::unit7},
    {8, "V", &MapQ7net::switch8, &MapQ7net::range8, &MapQ7net::offset8, &MapQ7net::fullscall8, &MapQ7net::unit8,
     &SensorParams::range8, &SensorParams::offset8, &SensorParams::fullScale8, &SensorParams::unit8},
};

QString& itemName(MapQ7net& map, int channel) { return map.*kItemNames[channel - 1]; }
const QString& itemName(const MapQ7net& map, int channel) { return map.*kItemNames[channel - 1]; }

// The analog boxes of one input stored on the map and as the default.
void saveAnalogInput(MapQ7net& map, const AnalogInput& input, const AnalogEntry& entry) {
  map.*input.range = entry.range == kRange1V ? kRange1V : kRange5V;
  if (const auto offset = wholeNumberFromBox(entry.offset)) map.*input.offset = *offset;
  if (const auto fullScale = wholeNumberFromBox(entry.fullScale)) map.*input.fullScale = *fullScale;
  map.*input.unit = entry.unit;
  SensorParams& defaults = program().sensorParams;
  defaults.*input.defaultRange = map.*input.range;
  defaults.*input.defaultOffset = map.*input.offset;
  defaults.*input.defaultFullScale = map.*input.fullScale;
  defaults.*input.defaultUnit = map.*input.unit;
}

// What the library gets for one input.
struct SensorParm {
  int32_t switchPosition = 0;
  int32_t range = kRange5V;
  int32_t offset = 0;
  int32_t fullScale = 0;
  QString unit = QStringLiteral(" ");
};

SensorParm sensorParmOf(const MapQ7net& map, int channel) {
  if (channel < kAnalogInputs[0].channel) return {};
  const AnalogInput& input = kAnalogInputs[channel - kAnalogInputs[0].channel];
  SensorParm parm{map.*input.switchPosition, map.*input.range, map.*input.offset, map.*input.fullScale,
                  map.*input.unit};
  if (parm.unit.isEmpty()) parm.unit = QStringLiteral(" ");
  return parm;
}

}  // namespace

QString sensorInputName(int channel, int32_t switchPosition) {
  if (channel < 1 || channel > kSensorInputs) return QString();
  if (channel < kAnalogInputs[0].channel || switchPosition == 0) return QLatin1String(kFixedNames[channel - 1]);
  if (switchPosition == 1) return QLatin1String(kAnalogInputs[channel - kAnalogInputs[0].channel].analogName);
  return QString();
}

void applySensorSwitches(MapQ7net& map) {
  int32_t positions[2] = {0, 0};
  // Without a known adapter status both positions stay 0.
  tramsollApi().getSensorSwPos(&positions[0], &positions[1]);
  for (int i = 0; i < 2; ++i) {
    const AnalogInput& input = kAnalogInputs[i];
    if (positions[i] == map.*input.switchPosition) continue;
    const QString name = sensorInputName(input.channel, positions[i]);
    if (!name.isEmpty()) itemName(map, input.channel) = name;
    map.*input.switchPosition = positions[i];
  }
}

SensorItemEntries showSensorItems(MapQ7net& map) {
  applySensorSwitches(map);
  return sensorItemsOf(map);
}

SensorItemEntries sensorItemsOf(const MapQ7net& map) {
  SensorItemEntries entries;
  for (int channel = 1; channel <= kSensorInputs; ++channel) {
    entries.checks[channel - 1] = map.*kChecks[channel - 1] == 1;
    entries.names[channel - 1] = itemName(map, channel);
  }
  for (int i = 0; i < 2; ++i) {
    const AnalogInput& input = kAnalogInputs[i];
    entries.analog[i] = {map.*input.range == kRange1V ? kRange1V : kRange5V, QString::number(map.*input.offset),
                         QString::number(map.*input.fullScale), map.*input.unit};
  }
  return entries;
}

std::optional<SensorValueBox> checkSensorValues(const SensorItemEntries& entries) {
  const std::pair<SensorValueBox, const QString*> boxes[] = {
      {SensorValueBox::Offset7, &entries.analog[0].offset},
      {SensorValueBox::Offset8, &entries.analog[1].offset},
      {SensorValueBox::FullScale7, &entries.analog[0].fullScale},
      {SensorValueBox::FullScale8, &entries.analog[1].fullScale},
  };
  for (const auto& [box, text] : boxes) {
    if (!wholeNumberFromBox(*text)) return box;
  }
  return std::nullopt;
}

void saveSensorItems(MapQ7net& map, const SensorItemEntries& entries) {
  for (int channel = 1; channel <= kSensorInputs; ++channel) {
    map.*kChecks[channel - 1] = entries.checks[channel - 1] ? 1 : 0;
    itemName(map, channel) = entries.names[channel - 1].trimmed();
  }
  for (int i = 0; i < 2; ++i) {
    const AnalogInput& input = kAnalogInputs[i];
    QString& name = itemName(map, input.channel);
    if (name.isEmpty()) name = sensorInputName(input.channel, map.*input.switchPosition);
    saveAnalogInput(map, input, entries.analog[i]);
  }
}

void setSensorData(MapQ7net& map) {
  applySensorSwitches(map);
  for (int channel = 1; channel <= kSensorInputs; ++channel) {
    const SensorParm parm = sensorParmOf(map, channel);
    const QByteArray name = textForLibrary(itemName(map, channel), kSensorNameBytes);
    const QByteArray unit = textForLibrary(parm.unit, kSensorUnitBytes);
    // A refused channel keeps its earlier parameters; the others still go.
    tramsollApi().setSensorParm(channel, map.*kChecks[channel - 1], name.constData(), parm.switchPosition, parm.range,
                                parm.offset, parm.fullScale, unit.constData());
  }
}

