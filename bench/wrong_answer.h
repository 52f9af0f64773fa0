// A benchmark's wrong answer: one line on stderr and false, so that the run
// ends with an error and reports no figure.
#pragma once

#include <cstdarg>
#include <cstdio>

[[gnu::format(printf, 1, 2)]] inline bool wrongAnswer(const char* format, ...) {
  std::fputs("wrong answer: ", stderr);
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(stderr, format, arguments);
  va_end(arguments);
  std::fputc('\n', stderr);
  return false;
}
