// A catalogue of recorded files: folders and their files as the library
// lists them.
#pragma once

#include "types/Collection.h"
#include "types/DataShowCustom.h"

struct DataShowManager {
  Collection<DataShowCustom> dataShowCustoms;  // keyed by the decimal text of customNumber
};
