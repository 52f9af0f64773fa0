#include "map/map_marks.h"

#include "frame/texts/text_table.h"
#include "types/map_tree.h"
#include "types/unit_kinds.h"

namespace {

void clearRow(RecordingMarks& marks, std::size_t row) {
  marks.recode[row] = false;
  marks.recodeTrigger[row] = false;
}

void markOrdinaryPage(const MapQ7net& map, const MapShowOnePage& page, RecordingMarks& marks) {
  clearRow(marks, 1);
  clearRow(marks, 2);
  const auto system = findSystem(map.systems, page.systemNumber);
  if (!system) return;
  marks.recode[0] = system->recode == 1 && page.systemStart == 1;
  marks.recodeTrigger[0] = system->recodeTrigger == 1 && page.systemStart == 1;
}

void markCentralPage(const MapQ7net& map, const MapShowOnePage& page, RecordingMarks& marks) {
  const std::array<int32_t, 3> numbers{page.systemNumber1, page.systemNumber2, page.systemNumber3};
  for (std::size_t row = 0; row < marks.recode.size(); ++row) {
    if (static_cast<int32_t>(row) >= page.totalSystems) {
      clearRow(marks, row);
      continue;
    }
    const auto system = map.systemsCen.item(numberKey(numbers[row]));
    if (!system) return;
    marks.recode[row] = system->recode == 1;
    marks.recodeTrigger[row] = system->recodeTrigger == 1;
  }
}

}  // namespace

void setFlagLabelRecode(const MapQ7net& map, MapShowManager& manager, RecordingMarks& marks) {
  const auto page = manager.pages.item(numberKey(manager.pageNumberNow));
  if (!page) return;
  manager.systemKindNow = page->systemKind;
  if (page->systemKind == kOrdinarySystem) {
    markOrdinaryPage(map, *page, marks);
  } else if (page->systemKind == kCentralSystem) {
    markCentralPage(map, *page, marks);
  } else if (page->systemKind == kSensorSystem) {
    marks = RecordingMarks{};
    marks.recode[0] = true;
  }
}

RecordingLabels recodeLabels(const RecordingMarks& marks, bool mapRecode, bool mapRecodeTrigger,
                             bool mapRecodeTriggerOn) {
  RecordingLabels labels;
  for (std::size_t row = 0; row < marks.recode.size(); ++row) {
    labels.recodeVisible[row] = marks.recode[row] && mapRecode;
    labels.triggerVisible[row] = marks.recodeTrigger[row] && mapRecodeTrigger;
    if (labels.triggerVisible[row]) labels.triggerCaption[row] = tableText(mapRecodeTriggerOn ? 135 : 134);
  }
  return labels;
}

QString mapStatusCaption(bool mapDataReady) { return tableText(mapDataReady ? 387 : 388); }
