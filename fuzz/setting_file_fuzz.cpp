// Feeds plain-text setting files (scrambled here, as they are stored) to the
// setting-file reader: every row kind with arbitrary fields must be read or
// refused without reading or writing out of bounds.
#include <cstdint>
#include <string>

#include "base/debug_ring.h"
#include "base/status_words.h"
#include "tables/scrambled.h"
#include "tables/setting_file.h"
#include "tables/setting_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string stored(reinterpret_cast<const char*>(data), size);
  for (char& byte : stored) byte = static_cast<char>(tramsoll::scrambleByte(static_cast<uint8_t>(byte)));
  tramsoll::ScrambledText text(stored);
  tramsoll::readSettingRows(text);
  tramsoll::clearSettingTables();
  tramsoll::clearErrorWords();
  tramsoll::debugRing().clear();
  return 0;
}
