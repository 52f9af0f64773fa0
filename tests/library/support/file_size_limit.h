// A limit on the size of the files this process writes, as a full disk would
// cut them: writes past it are short or fail (their signal is ignored).
#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <cstdint>

namespace testsupport {

class FileSizeLimit {
 public:
  ~FileSizeLimit() { lift(); }
  // Files may grow to `bytes` and no further; false when it cannot be set.
  bool set(uint64_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    if (!limited_) ::getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    limited_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    return limited_;
  }
  void lift() {
    if (limited_) ::setrlimit(RLIMIT_FSIZE, &saved_);
    limited_ = false;
  }

 private:
  bool limited_ = false;
  rlimit saved_{};
};

}  // namespace testsupport
