#include "engine/frame.h"

#include <cstdio>
#include <cstring>

namespace tramsoll {

std::atomic<uint32_t> errFault{0};
std::atomic<uint32_t> errLine{0};
std::atomic<uint32_t> errCall{0};
std::atomic<uint32_t> gatherState{0};
std::atomic<bool> apiBusy{false};
std::atomic<bool> stepBusy{false};
std::atomic<bool> threadAlive{false};

void clearErrorWords() {
  errFault.store(0);
  errLine.store(0);
  errCall.store(0);
}

std::mutex& exclusionMutex() {
  static std::mutex mutex;
  return mutex;
}

ExportFrame::ExportFrame() : lock_(exclusionMutex()) { apiBusy.store(true); }

ExportFrame::~ExportFrame() {
  if (lock_.owns_lock()) apiBusy.store(false);
}

void ExportFrame::release() {
  apiBusy.store(false);
  lock_.unlock();
}

void ExportFrame::reacquire() {
  lock_.lock();
  apiBusy.store(true);
}

StepFrame::StepFrame() : lock_(exclusionMutex()) { stepBusy.store(true); }

StepFrame::~StepFrame() { stepBusy.store(false); }

int32_t boundedLength(char* buffer, int32_t capacity) {
  if (!buffer || capacity <= 0) return 0;
  const void* zero = std::memchr(buffer, 0, static_cast<std::size_t>(capacity));
  if (zero) return static_cast<int32_t>(static_cast<const char*>(zero) - buffer);
  buffer[capacity - 1] = '\0';
  return capacity - 1;
}

int32_t copyText(char* buffer, int32_t capacity, const char* text) {
  if (!buffer || capacity <= 0) return 0;
  std::size_t n = text ? strnlen(text, static_cast<std::size_t>(capacity - 1)) : 0;
  if (n) std::memcpy(buffer, text, n);
  buffer[n] = '\0';
  return static_cast<int32_t>(n);
}

bool dateTimeText(std::time_t seconds, char* out, std::size_t size) {
  std::tm local{};
  if (size) out[0] = '\0';
  if (!localtime_r(&seconds, &local)) return false;
  std::snprintf(out, size, "%02d/%02d/%02d %02d:%02d:%02d", local.tm_year, local.tm_mon + 1, local.tm_mday,
                local.tm_hour, local.tm_min, local.tm_sec);
  return true;
}

}  // namespace tramsoll
