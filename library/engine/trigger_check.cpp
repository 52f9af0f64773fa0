#include "engine/trigger_check.h"

#include "store/live_source.h"
#include "store/live_table.h"
#include "tables/model_tables.h"

namespace tramsoll {

namespace {

constexpr uint32_t kNoCondition = 2;  // codes 2 and 3 ask for nothing

struct GroupState {
  bool holds = true;
  bool empty = true;
  void apply(uint32_t code, int32_t state) {
    if (code >= kNoCondition) return;
    empty = false;
    if (static_cast<int32_t>(code) != state) holds = false;
  }
  bool fires() const { return holds && !empty; }
};

bool twoState(const ItemRecord& item) {
  int32_t type = itemDataType(item);
  return type == datatype::kDigital || type == datatype::kBinary || type == datatype::kOnOff;
}

// The item record that item k of a unit stands for. The sensor inputs' items
// 7 and 8 each have two definitions, chosen by the channel's switch.
bool unitItem(const AutoAdrEntry& entry, int row, int32_t model, int accessKind, int k, ItemRecord& item) {
  if (entry.kind == unitKind::kSensor) {
    int chosen = k;
    if (k == 6 || k == 7) {
      LogEntry channel;
      liveDataTable().getLogEntry(entry.kind, entry.address, row, k, channel);
      chosen = (k == 6 ? 6 : 8) + (channel.switchPosition != 0 ? 1 : 0);
    }
    return getItem(model, entry.kind, 0, chosen, item);
  }
  int group = accessKind == triggeraccess::kBus ? 0 : entry.address + 1;
  return getItem(model, entry.kind, group, k, item);
}

// Checks every conditioned item of one unit row into the two groups.
void checkUnit(const AutoAdrEntry& entry, int row, int accessKind, int position, GroupState (&groups)[2]) {
  const UnitRow* unit = autoAdrTable().unitRow(entry.kind, entry.address, row);
  int32_t model = -1;
  if (!unit || unit->triggerFlags.empty() || !findKishuByFile(unit->row.secondText, model)) return;
  bool board = accessKind == triggeraccess::kBoard && entry.kind != unitKind::kSensor;
  for (int k = 0; k < static_cast<int>(unit->triggerFlags.size()); ++k) {
    ItemRecord item;
    if (!unitItem(entry, row, model, accessKind, k, item) || !twoState(item)) continue;
    uint32_t flags = unit->triggerFlags[static_cast<std::size_t>(k)];
    uint32_t code1 = flags & 0x3, code2 = (flags >> 2) & 0x3;
    if (code1 >= kNoCondition && code2 >= kNoCondition) continue;
    ItemOutput output;
    bool evaluated = board ? evaluateLiveItemAt(item, 0, 0, 0, position, output)
                           : evaluateLiveItemAt(item, entry.kind, entry.address, row, position, output);
    int32_t state = evaluated ? output.graphValue : 0;
    groups[0].apply(code1, state);
    groups[1].apply(code2, state);
  }
}

}  // namespace

bool checkTriggerCondition(int accessKind) {
  int position = liveDataTable().snapshotCount() - 1;
  GroupState groups[2];
  AutoAdrTable& units = autoAdrTable();
  for (int32_t i = 0; i < units.count(); ++i) {
    AutoAdrEntry entry;
    if (!units.entryByIndex(i, entry)) continue;
    for (int row = 0; row < entry.rowCount; ++row) checkUnit(entry, row, accessKind, position, groups);
  }
  return groups[0].fires() || groups[1].fires();
}

}  // namespace tramsoll
