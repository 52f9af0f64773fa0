#include "base/local_time.h"

#include <cstdio>
#include <ctime>

#include "base/caller_values.h"
#include "base/debug_ring.h"
#include "base/status_words.h"

namespace tramsoll {

bool localFields(int64_t seconds, LocalDate& out) {
  out = LocalDate{};
  std::time_t value = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (!localtime_r(&value, &local)) return false;
  out.year = local.tm_year + 1900;
  out.month = local.tm_mon + 1;
  out.day = local.tm_mday;
  out.hour = local.tm_hour;
  out.minute = local.tm_min;
  out.second = local.tm_sec;
  return true;
}

bool localDate(int64_t seconds, LocalDate& out, const char* module) {
  if (localFields(seconds, out)) return true;
  setBits(errCall, call::kBadTime);
  logLine("%s: Bad Time Value %lld", module, static_cast<long long>(seconds));
  return false;
}

int64_t localSeconds(const LocalDate& date) {
  std::tm fields{};
  fields.tm_year = subtractHeld(date.year, 1900);
  fields.tm_mon = subtractHeld(date.month, 1);
  fields.tm_mday = date.day;
  fields.tm_hour = date.hour;
  fields.tm_min = date.minute;
  fields.tm_sec = date.second;
  fields.tm_isdst = -1;
  return static_cast<int64_t>(std::mktime(&fields));
}

bool dateTimeText(std::time_t seconds, char* out, std::size_t size) {
  LocalDate local;
  if (size) out[0] = '\0';
  if (!localFields(seconds, local)) return false;
  std::snprintf(out, size, "%02d/%02d/%02d %02d:%02d:%02d", local.year - 1900, local.month, local.day, local.hour,
                local.minute, local.second);
  return true;
}

}  // namespace tramsoll
