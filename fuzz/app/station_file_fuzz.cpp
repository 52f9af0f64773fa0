// Arbitrary bytes as the service-station file pelomar3.dam: the reader takes
// it or says why not, and a record it takes is written back to a text that
// reads as the same record.
#include "frame/site/site_files.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  DataManageInfor station;
  ReadFault fault;
  if (!readServiceStationText(bytes, station, fault)) {
    if (fault.reason.isEmpty()) std::abort();
    return 0;
  }
  const QByteArray written = serviceStationText(station, 1, 50);
  DataManageInfor again;
  if (!readServiceStationText(written, again, fault)) std::abort();
  if (serviceStationText(again, 1, 50) != written) std::abort();
  return 0;
}
