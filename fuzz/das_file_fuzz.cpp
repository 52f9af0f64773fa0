// Feeds arbitrary bytes to the recorded-file reader: any header, block
// counts, offsets and record lengths must be read or refused without reading
// out of bounds.
#include <cstdint>
#include <string>

#include "files/das_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tramsoll::das::File file;
  std::string error;
  tramsoll::das::parseFile(data, size, file, error);
  return 0;
}
