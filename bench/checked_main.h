// The main of a benchmark program whose cases check their answers: it runs
// the cases asked for and ends with an error when any case saw a wrong
// answer, so that figures of wrong work never pass as a result.
#pragma once

#include <benchmark/benchmark.h>

inline int runCheckedBenchmarks(int argc, char** argv, const bool& sawWrongAnswer) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return sawWrongAnswer ? 1 : 0;
}
