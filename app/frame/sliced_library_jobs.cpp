#include "frame/sliced_library_jobs.h"

#include "frame/library/tramsoll_api.h"

namespace {

constexpr int32_t kMoreSlices = 1;
constexpr int32_t kSearchGoesOn = 2;
constexpr int32_t kSearchFound = 0;
constexpr int32_t kNoMatch = 1;

}  // namespace

SliceDriver::Slice csvConversionSlices() {
  return [] {
    int32_t progress = 0;
    const int32_t result = tramsollApi().execCsvOut(&progress);
    if (result == kMoreSlices) return SliceStep::more(progress);
    if (result == 0) return SliceStep::finished();
    return SliceStep::failed(result);
  };
}

SliceDriver::Slice minMaxSearchSlices() {
  return [] {
    int32_t progress = 0;
    if (tramsollApi().execMinMaxSrch(&progress) == kMoreSlices) return SliceStep::more(progress);
    return SliceStep::finished();
  };
}

SliceDriver::Slice dataSearchSlices() {
  return [] {
    int32_t record = 0;
    const int32_t result = tramsollApi().execDataSrch(&record);
    if (result == kSearchGoesOn) return SliceStep::more(0);
    if (result == kSearchFound) return SliceStep::finished(record);
    if (result == kNoMatch) return SliceStep::finished(0);
    return SliceStep::failed(result);
  };
}
