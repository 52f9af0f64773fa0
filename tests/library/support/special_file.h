// Special files where the library expects regular ones, and calls that must
// answer although such a file would block them.
#pragma once

#include <cstdint>
#include <functional>
#include <future>
#include <string>

namespace testsupport {

enum class SpecialFile { Fifo, LinkToZeroDevice };

const char* specialFileName(SpecialFile kind);

// Puts a FIFO, or a symbolic link to /dev/zero, at `path` in place of what
// was there; false when it cannot.
bool makeSpecialFile(const std::string& path, SpecialFile kind);

// The answer of a call running on a thread of its own. A call that has not
// answered within 20 s hangs: the test program cannot go on and ends with
// `what` said.
int32_t awaitAnswer(std::future<int32_t>& answer, const std::string& what);
int32_t answerWithin(std::function<int32_t()> call, const std::string& what);

}  // namespace testsupport
