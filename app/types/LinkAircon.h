// The customer-record data of one unit.
#pragma once

#include <QString>

#include <cstdint>

struct LinkAircon {
  int32_t linkNo = 0;          // key in MapQ7net::linkAircons
  QString kind;                // model
  QString serialNumber;
  QString place;               // install site
  int32_t controlAddress = 0;  // centralized control address, -1 for none
};
