// One folder of recorded files in a catalogue: a customer folder, or the
// scanned folder itself (empty id and name).
#pragma once

#include "types/Collection.h"
#include "types/DataShowFile.h"

#include <QString>

#include <cstdint>

struct DataShowCustom {
  int32_t customNumber = 0;  // position in the catalogue, 1, 2, 3 ... without gaps
  QString customId;          // the folder's name on disk; "" for the scanned folder itself
  QString customName;        // from the folder's customer file; "" for the scanned folder itself
  QString customDir;         // the folder as the library is given it, ending in "/"
  Collection<DataShowFile> dataShowFiles;  // keyed by the decimal text of fileNumber
};
