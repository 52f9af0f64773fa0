#include "recording/recode_check.h"

#include "frame/dialogs/frmMessage.h"
#include "frame/texts/text_table.h"
#include "recording/recording_systems.h"

namespace {

struct MessageEntries {
  RecordingMessage which;
  const char* key;
  std::array<int, 3> entries;  // 0: an empty line
};

constexpr MessageEntries kMessages[] = {
    {RecordingMessage::RecordTime, "7-1", {0, 441, 0}},
    {RecordingMessage::RecordSystem, "7-2", {0, 442, 0}},
    {RecordingMessage::SensorSettings, "7-3", {443, 444, 0}},
    {RecordingMessage::SensorValues, "8-1", {0, 445, 0}},
    {RecordingMessage::TriggerTime, "9-1", {0, 446, 0}},
    {RecordingMessage::TriggerConditions, "9-2", {0, 447, 0}},
};

// Walks one collection; true at the first system that stays marked.
bool keepsARecordedSystem(const MapQ7net& map, const Collection<MapSystem>& systems, int32_t kind) {
  for (int32_t number = 1; number <= systems.count(); ++number) {
    const auto system = systems.item(number);
    if (!system) continue;
    if (!systemCanRecode(map, kind, number)) system->recode = 0;
    if (system->recode == 1) return true;
  }
  return false;
}

}  // namespace

int32_t checkRecodeTime(const MapQ7net& map) {
  // A negative time is refused like 0: the library would get a negative
  // record count.
  return map.recodeMethod != 0 && map.recodeTime <= 0 ? kRecodeTimeMissing : kRecodeReady;
}

int32_t checkRecodeData(MapQ7net& map) {
  if (checkRecodeTime(map) != kRecodeReady) return kRecodeTimeMissing;
  const bool ordinary = keepsARecordedSystem(map, map.systems, kOrdinarySystem);
  const bool central = keepsARecordedSystem(map, map.systemsCen, kCentralSystem);
  return ordinary || central ? kRecodeReady : kRecodeSystemMissing;
}

NumberedMessage recordingMessage(RecordingMessage which) {
  for (const MessageEntries& message : kMessages) {
    if (message.which != which) continue;
    NumberedMessage text{QLatin1String(message.key), {}};
    for (std::size_t line = 0; line < text.lines.size(); ++line) {
      if (message.entries[line] != 0) text.lines[line] = tableText(message.entries[line]);
    }
    return text;
  }
  return {};
}

NumberedMessage recodeCheckMessage(int32_t result) {
  return recordingMessage(result == kRecodeTimeMissing ? RecordingMessage::RecordTime : RecordingMessage::RecordSystem);
}

void showRecordingMessage(const NumberedMessage& message) {
  showMessage(message.key, message.lines[0], message.lines[1], message.lines[2]);
}
