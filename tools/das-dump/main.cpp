// das-dump FILE...: prints a recorded data file (.das) or a bus log (.dl2).
#include <iostream>
#include <string>

#include "dump.h"

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

int dump(const std::string& path) {
  std::string error;
  std::cout << "file " << path << "\n";
  if (endsWith(path, ".dl2") || endsWith(path, ".DL2")) {
    dasdump::BusLog log;
    if (!dasdump::readBusLog(path, log, error)) {
      std::cerr << path << ": " << error << "\n";
      return 1;
    }
    dasdump::printBusLog(log, std::cout);
    return 0;
  }
  tramsoll::das::File file;
  if (!tramsoll::das::readFile(path, file, error)) {
    std::cerr << path << ": " << error << "\n";
    return 1;
  }
  dasdump::printDasFile(file, std::cout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: das-dump FILE.das|FILE.dl2 ...\n";
    return 2;
  }
  int result = 0;
  for (int i = 1; i < argc; ++i) result |= dump(argv[i]);
  return result;
}
