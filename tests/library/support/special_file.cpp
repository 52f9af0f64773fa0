#include "library/support/special_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace testsupport {

const char* specialFileName(SpecialFile kind) { return kind == SpecialFile::Fifo ? "FIFO" : "link to /dev/zero"; }

bool makeSpecialFile(const std::string& path, SpecialFile kind) {
  ::unlink(path.c_str());
  if (kind == SpecialFile::Fifo) return ::mkfifo(path.c_str(), 0644) == 0;
  return ::symlink("/dev/zero", path.c_str()) == 0;
}

int32_t awaitAnswer(std::future<int32_t>& answer, const std::string& what) {
  if (answer.wait_for(std::chrono::seconds(20)) == std::future_status::ready) return answer.get();
  std::fprintf(stderr, "%s never returned\n", what.c_str());
  std::fflush(stderr);
  std::_Exit(1);
}

int32_t answerWithin(std::function<int32_t()> call, const std::string& what) {
  std::future<int32_t> answer = std::async(std::launch::async, std::move(call));
  return awaitAnswer(answer, what);
}

}  // namespace testsupport
