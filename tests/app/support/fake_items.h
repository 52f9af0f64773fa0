// Scripts the data items of the fake library's units and their values at the
// cursor (getDataItemNum, getDataItem, getCursData), for live and replay
// windows alike: the tests of the display windows build on it.
#pragma once

#include "support/fake_tramsoll.h"

#include <QByteArray>

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

struct FakeItem {
  QByteArray name;
  QByteArray fullScale = "100";
  int32_t dataType = 0;      // 0 analog, 1 two-state, 2 code, 3 and more not shown
  int32_t graphDefault = 0;  // the library's default-graph flag
  QByteArray state0{};       // the state texts of a two-state item
  QByteArray state1{};
};

class FakeItems {
 public:
  explicit FakeItems(FakeTramsoll& fake);
  FakeItems(const FakeItems&) = delete;
  FakeItems& operator=(const FakeItems&) = delete;

  // The items of one unit (kind 0, 1, 100 or 200, and its number); a unit
  // not set reports none.
  void setItems(int32_t unitKind, int32_t unitNumber, std::vector<FakeItem> items);
  // The value and time text of an item (by the library's number) at every
  // cursor read; an item without one reads as no value ("--:--:--").
  void setValue(int32_t unitKind, int32_t unitNumber, int32_t item, const QByteArray& value,
                const QByteArray& time = "12:00:00");

  // What getDataItemNum reports of the source.
  int32_t records = 121;
  int32_t trigger = 0;
  int32_t interval = 5;
  // The date of every cursor read (a month of 0 is a read without a date).
  int32_t year = 2024;
  int32_t month = 5;
  int32_t day = 1;
  int32_t second = 43200;

 private:
  using Unit = std::pair<int32_t, int32_t>;
  struct Value {
    QByteArray text;
    QByteArray time;
  };
  const std::vector<FakeItem>* itemsOf(int32_t unitKind, int32_t unitNumber) const;

  std::map<Unit, std::vector<FakeItem>> units_;
  std::map<std::tuple<int32_t, int32_t, int32_t>, Value> values_;
};
