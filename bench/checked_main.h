// The main of a Google Benchmark program whose cases check their answers,
// and the one way a case reports a wrong answer: the case is skipped with
// it, so that it gives no figure, and the run ends with an error, so that
// ctest fails it (a skipped case alone still ends the run with 0).
#pragma once

#include "wrong_answer.h"

#include <benchmark/benchmark.h>

#include <string>

namespace checkedbench {

// Set by any case's wrong answer; read once every case has run.
inline bool sawWrongAnswer = false;

}  // namespace checkedbench

inline void failWithWrongAnswer(benchmark::State& state, const std::string& wrong) {
  wrongAnswer("%s", wrong.c_str());
  checkedbench::sawWrongAnswer = true;
  state.SkipWithError(("wrong answer: " + wrong).c_str());
}

inline int runCheckedBenchmarks(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return checkedbench::sawWrongAnswer ? 1 : 0;
}
