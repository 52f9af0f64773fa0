#include "library/support/program_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/debug_ring.h"
#include "tables/scrambled.h"

namespace fs = std::filesystem;

namespace testsupport {

namespace {

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

ProgramFolder::ProgramFolder() : previous_(fs::current_path().string()) {
  std::string pattern = (fs::temp_directory_path() / "pelomar-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) ADD_FAILURE() << "cannot create a temporary folder";
  path_ = pattern;
  fs::current_path(path_);
}

ProgramFolder::~ProgramFolder() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
  fs::remove_all(path_, ignored);
}

std::string ProgramFolder::pathOf(const std::string& relative) const { return path_ + "/" + relative; }

void ProgramFolder::writeScrambledLines(const std::string& relative, const std::vector<std::string>& lines) const {
  std::string plain;
  for (const std::string& line : lines) plain += line + "\r\n";
  writeScrambledBytes(relative, plain);
}

void ProgramFolder::writeScrambledBytes(const std::string& relative, const std::string& plain) const {
  std::string stored = plain;
  for (char& c : stored) c = static_cast<char>(tramsoll::scrambleByte(static_cast<uint8_t>(c)));
  writePlain(relative, stored);
}

void ProgramFolder::writePlain(const std::string& relative, const std::string& bytes) const {
  fs::path file = pathOf(relative);
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) ADD_FAILURE() << "cannot write " << file;
}

std::string ProgramFolder::readPlain(const std::string& relative) const { return readBytes(pathOf(relative)); }

bool ProgramFolder::exists(const std::string& relative) const { return fs::exists(pathOf(relative)); }

void ProgramFolder::copyTestdata(const std::string& relative) const {
  fs::path target = pathOf(relative);
  fs::create_directories(target.parent_path());
  std::error_code error;
  fs::copy_file(fs::path(PELOMAR_TESTDATA_DIR) / relative, target, fs::copy_options::overwrite_existing, error);
  if (error) ADD_FAILURE() << "cannot copy testdata file " << relative << ": " << error.message();
}

void ProgramFolder::copyTestdataSet(const std::string& set) const {
  fs::path from = fs::path(PELOMAR_TESTDATA_DIR) / set;
  std::error_code error;
  fs::copy_file(from / "vexa5.set", pathOf("vexa5.set"), fs::copy_options::overwrite_existing, error);
  if (!error) {
    fs::create_directories(pathOf("table"));
    fs::copy(from / "table", pathOf("table"), fs::copy_options::overwrite_existing | fs::copy_options::recursive, error);
  }
  if (error) ADD_FAILURE() << "cannot copy testdata set '" << set << "': " << error.message();
}

std::string readUnscrambled(const std::string& path) {
  std::string bytes = readBytes(path);
  for (char& c : bytes) c = static_cast<char>(tramsoll::scrambleByte(static_cast<uint8_t>(c)));
  return bytes;
}

std::vector<std::string> drainDebugLines() {
  std::vector<std::string> lines;
  char line[tramsoll::kLineSize];
  while (tramsoll::debugRing().take(line)) lines.emplace_back(line);
  return lines;
}

void keepRecordingsAsFuzzSeeds(const std::string& folder) {
  const char* seeds = std::getenv("PELOMAR_FUZZ_SEEDS");
  if (!seeds || !*seeds) return;
  std::error_code ignored;
  for (const fs::directory_entry& file : fs::directory_iterator(folder, ignored)) {
    if (file.path().extension() != ".das") continue;
    std::string bytes = readBytes(file.path().string());
    for (const auto& [target, head] : {std::pair{"das_file_fuzz", ""}, std::pair{"replay_fuzz", "\x01"}}) {
      fs::create_directories(fs::path(seeds) / target, ignored);
      std::ofstream(fs::path(seeds) / target / ("simulator-" + file.path().filename().string()), std::ios::binary)
          << head << bytes;
    }
  }
}

}  // namespace testsupport
