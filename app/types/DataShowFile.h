// One recorded file of a customer folder as the library lists it.
#pragma once

#include <cstdint>

struct DataShowFile {
  int32_t saveYear = 0;
  int32_t saveMonth = 0;
  int32_t saveDay = 0;
  int32_t saveTime = 0;  // second of the day the recording started
};
