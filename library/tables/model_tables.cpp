#include "tables/model_tables.h"

#include <cstring>
#include <new>
#include <vector>

#include "base/debug_ring.h"
#include "base/status_words.h"

namespace tramsoll {

namespace {

struct DataBlock {
  char name[kBlockNameSize];
  uint16_t length;
};

// The items of one group. A record is mostly empty room (its program field
// alone is 1280 bytes), so the list keeps each record's texts packed one
// after another in a text pool and gives whole records back on request; a
// large installation's tables then take a few megabytes instead of a
// hundred. A short key per name keeps the search for a held name quick.
class ItemList {
 public:
  std::size_t size() const { return entries_.size(); }

  bool holdsName(const char* name) const {
    uint32_t key = nameKey(name);
    for (const Entry& entry : entries_) {
      if (entry.key == key && std::strncmp(pool_.data() + entry.offset, name, kItemNameSize) == 0) return true;
    }
    return false;
  }

  // Appends the record's texts (each cut to its field) and flags; false when
  // memory ran out, with nothing changed.
  bool append(const ItemRecord& item) {
    const std::size_t offset = pool_.size();
    try {
      entries_.reserve(entries_.size() + 1);
      appendText(item.name);
      appendText(item.fullScale);
      appendText(item.program);
      appendText(item.stateText0);
      appendText(item.stateText1);
    } catch (const std::bad_alloc&) {
      pool_.resize(offset);
      return false;
    }
    // Flag bits 9-10 and 16-31 are never kept.
    entries_.push_back(Entry{item.flags & itemflag::kKept, static_cast<uint32_t>(offset), nameKey(pool_.data() + offset)});
    return true;
  }

  // Item `i` into a cleared record.
  void copyOut(std::size_t i, ItemRecord& out) const {
    out.flags = entries_[i].flags;
    const char* text = pool_.data() + entries_[i].offset;
    text = takeText(out.name, text);
    text = takeText(out.fullScale, text);
    text = takeText(out.program, text);
    text = takeText(out.stateText0, text);
    takeText(out.stateText1, text);
  }

 private:
  struct Entry {
    uint32_t flags;
    uint32_t offset;  // of the name; the other texts follow it
    uint32_t key;
  };
  // A text of a record field, cut to the field as the table keeps it.
  template <std::size_t N>
  void appendText(const char (&text)[N]) {
    std::size_t n = strnlen(text, N - 1);
    pool_.insert(pool_.end(), text, text + n);
    pool_.push_back('\0');
  }

  // Copies one pooled text into its field; answers the next text.
  template <std::size_t N>
  static const char* takeText(char (&to)[N], const char* text) {
    std::size_t n = std::strlen(text);
    std::memcpy(to, text, n);
    return text + n + 1;
  }

  static uint32_t nameKey(const char* name) {
    uint32_t key = 2166136261u;
    for (std::size_t i = 0; i < kItemNameSize && name[i]; ++i) key = (key ^ static_cast<uint8_t>(name[i])) * 16777619u;
    return key;
  }

  std::vector<Entry> entries_;
  std::vector<char> pool_;
};

struct GroupRow {
  UnitGroup group;
  ItemList items;
};

struct ModelRow {
  KishuEntry entry;
  std::vector<DataBlock> blocks;
  std::vector<GroupRow> groups;
};

std::vector<ModelRow>& models() {
  static std::vector<ModelRow> rows;
  return rows;
}

template <std::size_t N>
void copyBounded(char (&to)[N], const char* from) {
  std::size_t n = from ? strnlen(from, N - 1) : 0;
  if (n) std::memcpy(to, from, n);
  std::memset(to + n, 0, N - n);
}

template <std::size_t N>
void terminate(char (&text)[N]) {
  text[N - 1] = '\0';
}

char foldCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (foldCase(*a) != foldCase(*b)) return false;
  }
  return *a == *b;
}

// Appends one row; a failed growth leaves the list as it was and is logged
// under the table's name.
template <typename Row>
bool appendRow(std::vector<Row>& list, Row&& row, const char* tableName) {
  try {
    list.push_back(std::move(row));
    return true;
  } catch (const std::bad_alloc&) {
    setBits(errFault, fault::kMemory);
    logLine("MemMngr: malloc error for %s", tableName);
    return false;
  }
}

ModelRow* modelAt(int32_t index) {
  auto& rows = models();
  if (index < 0 || static_cast<std::size_t>(index) >= rows.size()) return nullptr;
  return &rows[static_cast<std::size_t>(index)];
}

GroupRow* findGroup(ModelRow& model, int unitType, int groupNumber) {
  for (auto& row : model.groups) {
    if (row.group.unitType == unitType && row.group.groupNumber == groupNumber) return &row;
  }
  return nullptr;
}

bool addGroup(ModelRow& model, const UnitGroup& group) {
  if (model.groups.size() >= kTableCountLimit) return false;
  GroupRow row{};
  row.group = group;
  row.group.itemCount = 0;
  terminate(row.group.groupName);
  terminate(row.group.groupProgram);
  for (auto& text : row.group.groupTexts) terminate(text);
  if (!appendRow(model.groups, std::move(row), "KishuSubTable")) return false;
  model.entry.unitGroupCount = static_cast<uint8_t>(model.groups.size());
  return true;
}

}  // namespace

bool addKishu(const KishuEntry& entry, int32_t& index) {
  index = 0;
  ModelRow row{};
  row.entry = entry;
  row.entry.dataBlockCount = 0;
  row.entry.unitGroupCount = 0;
  terminate(row.entry.fileName);
  for (auto& text : row.entry.reportTextA) terminate(text);
  for (auto& text : row.entry.reportTextB) terminate(text);
  int32_t existing = 0;
  if (findKishuByFile(row.entry.fileName, existing)) return false;
  auto& rows = models();
  if (!appendRow(rows, std::move(row), "KishuTable")) return false;
  index = static_cast<int32_t>(rows.size() - 1);
  return true;
}

bool findKishuByFile(const char* fileName, int32_t& index) {
  auto& rows = models();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (sameIgnoringCase(rows[i].entry.fileName, fileName ? fileName : "")) {
      index = static_cast<int32_t>(i);
      return true;
    }
  }
  index = 0;
  return false;
}

bool getKishu(int32_t index, KishuEntry& out) {
  out = KishuEntry{};
  const ModelRow* model = modelAt(index);
  if (!model) return false;
  out = model->entry;
  return true;
}

int32_t kishuCount() { return static_cast<int32_t>(models().size()); }

bool addKishuData(int32_t fileIndex, const char* blockName, uint16_t length, int32_t& dataIndex) {
  dataIndex = 0;
  ModelRow* model = modelAt(fileIndex);
  if (!model || model->blocks.size() >= kTableCountLimit) return false;
  uint16_t known = 0;
  if (findKishuDataLength(fileIndex, blockName, known)) return false;
  DataBlock block{};
  copyBounded(block.name, blockName);
  block.length = length;
  if (!appendRow(model->blocks, std::move(block), "KishuData")) return false;
  model->entry.dataBlockCount = static_cast<uint8_t>(model->blocks.size());
  dataIndex = static_cast<int32_t>(model->blocks.size() - 1);
  return true;
}

bool getKishuData(int32_t fileIndex, int32_t dataIndex, char (&name)[kBlockNameSize], uint16_t& length) {
  std::memset(name, 0, sizeof name);
  length = 0;
  const ModelRow* model = modelAt(fileIndex);
  if (!model || dataIndex < 0 || static_cast<std::size_t>(dataIndex) >= model->blocks.size()) return false;
  const DataBlock& block = model->blocks[static_cast<std::size_t>(dataIndex)];
  std::memcpy(name, block.name, sizeof name);
  length = block.length;
  return true;
}

bool findKishuDataLength(int32_t fileIndex, const char* blockName, uint16_t& length) {
  length = 0;
  const ModelRow* model = modelAt(fileIndex);
  if (!model || !blockName) return false;
  for (const auto& block : model->blocks) {
    if (std::strncmp(block.name, blockName, kBlockNameSize) == 0) {
      length = block.length;
      return true;
    }
  }
  return false;
}

bool addKishuSub(int32_t fileIndex, const UnitGroup& group) {
  ModelRow* model = modelAt(fileIndex);
  if (!model || findGroup(*model, group.unitType, group.groupNumber)) return false;
  return addGroup(*model, group);
}

bool getKishuSub(int32_t fileIndex, int32_t groupIndex, UnitGroup& out) {
  out = UnitGroup{};
  const ModelRow* model = modelAt(fileIndex);
  if (!model || groupIndex < 0 || static_cast<std::size_t>(groupIndex) >= model->groups.size()) return false;
  out = model->groups[static_cast<std::size_t>(groupIndex)].group;
  return true;
}

bool findKishuSub(int32_t fileIndex, int unitType, int groupNumber, UnitGroup& out) {
  out = UnitGroup{};
  ModelRow* model = modelAt(fileIndex);
  if (!model) return false;
  const GroupRow* row = findGroup(*model, unitType, groupNumber);
  if (!row) return false;
  out = row->group;
  return true;
}

bool findKishuSubItemCount(int32_t fileIndex, int unitType, int groupNumber, int32_t& count) {
  count = 0;
  ModelRow* model = modelAt(fileIndex);
  const GroupRow* row = model ? findGroup(*model, unitType, groupNumber) : nullptr;
  if (!row) return false;
  count = static_cast<int32_t>(row->items.size());
  return true;
}

bool addItem(int32_t fileIndex, int unitType, int groupNumber, const ItemRecord& item) {
  ModelRow* model = modelAt(fileIndex);
  if (!model) return false;
  GroupRow* row = findGroup(*model, unitType, groupNumber);
  if (!row) {
    UnitGroup group{};
    group.unitType = static_cast<uint8_t>(unitType);
    group.groupNumber = static_cast<uint8_t>(groupNumber);
    if (!addGroup(*model, group)) return false;
    row = &model->groups.back();
  }
  if (row->items.size() >= kTableCountLimit) return false;
  if (row->items.holdsName(item.name)) return false;
  if (!row->items.append(item)) {
    setBits(errFault, fault::kMemory);
    logLine("MemMngr: malloc error for ItemTable");
    return false;
  }
  row->group.itemCount = static_cast<uint8_t>(row->items.size());
  return true;
}

bool getItem(int32_t fileIndex, int unitType, int groupNumber, int32_t itemIndex, ItemRecord& out) {
  std::memset(&out, 0, sizeof out);
  ModelRow* model = modelAt(fileIndex);
  if (!model) return false;
  const GroupRow* row = findGroup(*model, unitType, groupNumber);
  if (!row || itemIndex < 0 || static_cast<std::size_t>(itemIndex) >= row->items.size()) return false;
  row->items.copyOut(static_cast<std::size_t>(itemIndex), out);
  int32_t unitAt = findText(out.name, "(kgf/cm2)");
  if (unitAt > 0) out.name[unitAt - 1] = '\0';
  return true;
}

int32_t findText(const char* text, const char* part) {
  if (!text || !part || !*text || !*part) return 0;
  const char* found = std::strstr(text, part);
  return found ? static_cast<int32_t>(found - text) + 1 : 0;
}

void resetModelTables() { models().clear(); }

}  // namespace tramsoll
