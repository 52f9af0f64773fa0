// Feeds plain-text item files and conversion-table files (scrambled here, as
// they are stored) to their loaders: every section, line and program must be
// read, cut or refused without reading or writing out of bounds. The first
// byte chooses the kind of file; the rest is its text.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "base/debug_ring.h"
#include "base/status_words.h"
#include "tables/all_tables.h"
#include "tables/conversion_tables.h"
#include "tables/item_file.h"
#include "tables/model_tables.h"
#include "tables/scrambled.h"
#include "tables/table_lookups.h"

namespace {

// A program folder of our own, made the current folder once.
void enterFolder() {
  static bool entered = false;
  if (entered) return;
  char pattern[] = "/tmp/pelomar-fuzz-XXXXXX";
  if (!::mkdtemp(pattern)) std::abort();
  std::filesystem::create_directories(std::filesystem::path(pattern) / "table");
  std::filesystem::current_path(pattern);
  tramsoll::installTableWords();
  entered = true;
}

void writeStored(const char* path, const uint8_t* data, size_t size) {
  std::vector<uint8_t> stored(data, data + size);
  for (uint8_t& byte : stored) byte = tramsoll::scrambleByte(byte);
  std::FILE* file = std::fopen(path, "wb");
  if (!file) std::abort();
  if (!stored.empty()) std::fwrite(stored.data(), 1, stored.size(), file);
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  enterFolder();
  const bool tableFile = data[0] & 1;
  tramsoll::checkMode = data[0] & 2;
  if (tableFile) {
    writeStored("table/pressure.ktb", data + 1, size - 1);
    writeStored("table/errcode.ktb", data + 1, size - 1);
    tramsoll::loadPressureTable();
    tramsoll::loadErrorCodeTable();
  } else {
    writeStored("table/f.itm", data + 1, size - 1);
    tramsoll::loadItemReport("f.itm");
    tramsoll::loadItemDataAndGroups("f.itm");
    tramsoll::loadItems("f.itm", 1);
  }
  tramsoll::resetModelTables();
  tramsoll::resetConversionTables();
  tramsoll::clearErrorWords();
  tramsoll::debugRing().clear();
  return 0;
}
