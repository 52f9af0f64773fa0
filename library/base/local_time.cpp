#include "base/local_time.h"

#include <ctime>

#include "engine/frame.h"
#include "base/debug_ring.h"

namespace tramsoll {

bool localDate(int64_t seconds, LocalDate& out, const char* module) {
  out = LocalDate{};
  std::time_t value = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (!localtime_r(&value, &local)) {
    setBits(errCall, call::kBadTime);
    logLine("%s: Bad Time Value %lld", module, static_cast<long long>(seconds));
    return false;
  }
  out.year = local.tm_year + 1900;
  out.month = local.tm_mon + 1;
  out.day = local.tm_mday;
  out.hour = local.tm_hour;
  out.minute = local.tm_min;
  out.second = local.tm_sec;
  return true;
}

}  // namespace tramsoll
