// Writes a data set of the driven demo: customer folders with their customer
// files and recordings, and recordings lying in the folder itself.
//
//   demo-data transfer PROGRAM_FOLDER HOME_FOLDER
//
// "transfer": the program folder holds the customers acme (two recordings)
// and beta (one) and a recording of its own; the home folder holds acme
// with an older recording of the same name, which a copy asks about.
#include "das_gen.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

bool writeCustomer(const fs::path& folder, const std::string& id, const std::string& name) {
  fs::create_directories(folder / id);
  std::ofstream out(folder / id / (id + ".dak"), std::ios::binary);
  out << "1,50\r\n\"" << id << "\"\r\n\"" << name << "\"\r\n";
  for (int field = 0; field < 6; ++field) out << "\"\"\r\n";
  out << "0\r\n";
  return bool(out);
}

bool writeRecording(const fs::path& path, const char* mapName, uint32_t records) {
  std::string error;
  if (dasgen::writeRecording(path.string(), dasgen::periodicRecording(mapName, records), error)) return true;
  std::fprintf(stderr, "demo-data: %s: %s\n", path.c_str(), error.c_str());
  return false;
}

bool writeTransferSet(const fs::path& program, const fs::path& home) {
  return writeCustomer(program, "acme", "Acme Corp") && writeRecording(program / "acme" / "roof.das", "Roof", 720) &&
         writeRecording(program / "acme" / "hall.das", "Hall", 1440) &&
         writeCustomer(program, "beta", "Beta Ltd") && writeRecording(program / "beta" / "cellar.das", "Cellar", 360) &&
         writeRecording(program / "const1.das", "Loose", 180) && writeCustomer(home, "acme", "Acme Corp") &&
         writeRecording(home / "acme" / "hall.das", "Hall", 240);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::string(argv[1]) != "transfer") {
    std::fprintf(stderr, "usage: demo-data transfer PROGRAM_FOLDER HOME_FOLDER\n");
    return 2;
  }
  return writeTransferSet(argv[2], argv[3]) ? 0 : 1;
}
