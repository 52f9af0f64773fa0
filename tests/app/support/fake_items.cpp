#include "support/fake_items.h"

#include <algorithm>
#include <cstring>

namespace {

// Copies at most the buffer's size, as the library does, and tells how much.
void fill(char* buffer, int32_t* length, const QByteArray& text, int capacity) {
  const int used = std::min<int>(static_cast<int>(text.size()), capacity);
  if (buffer) std::memcpy(buffer, text.constData(), static_cast<std::size_t>(used));
  if (buffer && used < capacity) buffer[used] = '\0';
  if (length) *length = used;
}

}  // namespace

FakeItems::FakeItems(FakeTramsoll& fake) {
  fake.on<decltype(::getDataItemNum)>(
      "getDataItemNum", [this](int32_t, const char*, int32_t, int32_t, int32_t kind, int32_t unit, int32_t* count,
                               int32_t* total, int32_t* triggerRecord, int32_t* seconds) {
        const std::vector<FakeItem>* items = itemsOf(kind, unit);
        *count = items ? static_cast<int32_t>(items->size()) : 0;
        *total = records;
        *triggerRecord = trigger;
        *seconds = interval;
        return 0;
      });
  fake.on<decltype(::getDataItem)>(
      "getDataItem", [this](int32_t, const char*, int32_t, int32_t, int32_t kind, int32_t unit, int32_t number,
                            char* name, int32_t* nameLength, char* fullScale, int32_t* fullScaleLength,
                            int32_t* dataType, int32_t* graphDefault, char* state0, int32_t* state0Length,
                            char* state1, int32_t* state1Length, int32_t*, int32_t*) {
        *state0Length = *state1Length = 0;
        const std::vector<FakeItem>* items = itemsOf(kind, unit);
        if (!items || number < 1 || number > static_cast<int32_t>(items->size())) return 6;
        const FakeItem& item = (*items)[static_cast<std::size_t>(number - 1)];
        fill(name, nameLength, item.name, TRAMSOLL_ITEM_NAME_SIZE);
        fill(fullScale, fullScaleLength, item.dataType == 0 ? item.fullScale : QByteArray(" "),
             TRAMSOLL_FULL_SCALE_TEXT_SIZE);
        fill(state0, state0Length, item.state0, TRAMSOLL_STATE_TEXT_SIZE);
        fill(state1, state1Length, item.state1, TRAMSOLL_STATE_TEXT_SIZE);
        *dataType = item.dataType;
        *graphDefault = item.graphDefault;
        return 0;
      });
  fake.on<decltype(::getCursData)>(
      "getCursData", [this](int32_t, const char*, int32_t, int32_t, int32_t kind, int32_t unit, int32_t item,
                            int32_t, char* value, int32_t* valueLength, char* time, int32_t* y, int32_t* m,
                            int32_t* d, int32_t* s) {
        const auto found = values_.find({kind, unit, item});
        const Value read = found != values_.end() ? found->second : Value{QByteArray(), QByteArray("--:--:--")};
        fill(value, valueLength, read.text, TRAMSOLL_VALUE_TEXT_SIZE);
        int32_t timeLength = 0;
        fill(time, &timeLength, read.time, TRAMSOLL_TIME_TEXT_SIZE);
        *y = year;
        *m = month;
        *d = day;
        *s = second;
        return 0;
      });
}

void FakeItems::setItems(int32_t unitKind, int32_t unitNumber, std::vector<FakeItem> items) {
  units_[{unitKind, unitNumber}] = std::move(items);
}

void FakeItems::setValue(int32_t unitKind, int32_t unitNumber, int32_t item, const QByteArray& value,
                         const QByteArray& time) {
  values_[{unitKind, unitNumber, item}] = Value{value, time};
}

const std::vector<FakeItem>* FakeItems::itemsOf(int32_t unitKind, int32_t unitNumber) const {
  const auto found = units_.find({unitKind, unitNumber});
  return found != units_.end() ? &found->second : nullptr;
}
