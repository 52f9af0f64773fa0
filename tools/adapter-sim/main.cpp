// adapter-sim: a simulated adapter (Vexa5 or Plus) on a pseudo-terminal.
//
//   adapter-sim [--scenario FILE] [--adapter vexa5|plus] [--link PATH]
//               [--log FILE] [--quiet]
//
// --adapter overrides the scenario's "adapter type".
// Prints "slave: <path>" on the first line of its output, then every packet
// with its time (to --log FILE, or the standard output). Fault commands
// ("drop", "silent on", ...) are read from the standard input, one a line.
// Runs until interrupted.
#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "scenario.h"
#include "simulator.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void onSignal(int) { stopRequested = 1; }

int usage() {
  std::fprintf(stderr,
               "usage: adapter-sim [--scenario FILE] [--adapter vexa5|plus] [--link PATH] [--log FILE] [--quiet]\n");
  return 2;
}

// Reads fault commands from the standard input while it has any.
void readCommands(adaptersim::Simulator& simulator, bool& open) {
  pollfd p{STDIN_FILENO, POLLIN, 0};
  if (!open || poll(&p, 1, 100) <= 0) {
    if (!open) usleep(100000);
    return;
  }
  std::string line;
  if (!std::getline(std::cin, line)) {
    open = false;
    return;
  }
  std::string error;
  if (!simulator.command(line, error)) std::fprintf(stderr, "adapter-sim: %s\n", error.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::string scenarioPath, linkPath, logPath, adapterWord;
  bool quiet = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--scenario" && hasValue) scenarioPath = argv[++i];
    else if (arg == "--adapter" && hasValue) adapterWord = argv[++i];
    else if (arg == "--link" && hasValue) linkPath = argv[++i];
    else if (arg == "--log" && hasValue) logPath = argv[++i];
    else if (arg == "--quiet") quiet = true;
    else return usage();
  }
  adaptersim::Scenario scenario;
  std::string error;
  if (!scenarioPath.empty() && !adaptersim::loadScenario(scenarioPath, scenario, error)) {
    std::fprintf(stderr, "adapter-sim: %s: %s\n", scenarioPath.c_str(), error.c_str());
    return 1;
  }
  if (!adapterWord.empty() && !adaptersim::parseAdapterType(adapterWord, scenario.adapterType)) return usage();
  std::FILE* logStream = quiet ? nullptr : stdout;
  if (!logPath.empty() && !(logStream = std::fopen(logPath.c_str(), "w"))) {
    std::fprintf(stderr, "adapter-sim: cannot write %s\n", logPath.c_str());
    return 1;
  }
  adaptersim::Simulator simulator(scenario);
  simulator.setLogStream(logStream);
  if (!simulator.start(linkPath, error)) {
    std::fprintf(stderr, "adapter-sim: %s\n", error.c_str());
    return 1;
  }
  // The handlers come first: a caller may end the simulator as soon as it has
  // read the slave line, and it must still end cleanly (its link removed).
  std::signal(SIGINT, onSignal);
  std::signal(SIGTERM, onSignal);
  std::printf("slave: %s\n", simulator.slavePath().c_str());
  std::fflush(stdout);
  bool stdinOpen = true;
  while (!stopRequested) readCommands(simulator, stdinOpen);
  simulator.stop();
  if (logStream && logStream != stdout) std::fclose(logStream);
  return 0;
}
