#include "base/status_words.h"

namespace tramsoll {

std::atomic<uint32_t> errFault{0};
std::atomic<uint32_t> errLine{0};
std::atomic<uint32_t> errCall{0};
std::atomic<uint32_t> gatherState{0};

void clearErrorWords() {
  errFault.store(0);
  errLine.store(0);
  errCall.store(0);
}

}  // namespace tramsoll
