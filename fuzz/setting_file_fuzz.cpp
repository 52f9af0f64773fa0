// Feeds plain-text setting files (scrambled here, as they are stored) to the
// setting-file reader: every row kind with arbitrary fields must be read or
// refused without reading or writing out of bounds.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "engine/frame.h"
#include "store/debug_ring.h"
#include "tables/scrambled.h"
#include "tables/setting_file.h"
#include "tables/setting_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> stored(data, data + size);
  for (uint8_t& byte : stored) byte = tramsoll::scrambleByte(byte);
  std::FILE* file = fmemopen(stored.empty() ? nullptr : stored.data(), stored.size(), "rb");
  if (!file) return 0;
  tramsoll::readSettingRows(file);
  std::fclose(file);
  tramsoll::clearSettingTables();
  tramsoll::clearErrorWords();
  tramsoll::debugRing().clear();
  return 0;
}
