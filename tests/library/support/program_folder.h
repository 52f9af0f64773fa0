// A temporary program folder for tests that need files: created empty, made
// the current folder for the test, and on destruction the previous current
// folder is restored and the temporary one removed with what it holds.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::string& path() const { return path_; }
  // Absolute path of a file in the folder ("table/x.itm").
  std::string pathOf(const std::string& relative) const;

  // Writes each line followed by CR LF, scrambled by the byte rule: the form
  // in which the library reads setting and table files.
  void writeScrambledLines(const std::string& relative, const std::vector<std::string>& lines) const;
  // Writes the bytes scrambled exactly as given (no line ends added).
  void writeScrambledBytes(const std::string& relative, const std::string& plain) const;
  void writePlain(const std::string& relative, const std::string& bytes) const;
  std::string readPlain(const std::string& relative) const;
  bool exists(const std::string& relative) const;
  // Copies a file that the build scrambled into its testdata folder.
  void copyTestdata(const std::string& relative) const;
  // Copies a whole scrambled set of the testdata folder ("" the sample set,
  // "broken" the broken one): its vexa5.set and table folder.
  void copyTestdataSet(const std::string& set = "") const;

 private:
  std::string previous_;
  std::string path_;
};

// The bytes of a scrambled file with the byte rule undone.
std::string readUnscrambled(const std::string& path);

// Takes every line out of the library's diagnostic ring, oldest first.
std::vector<std::string> drainDebugLines();

// With PELOMAR_FUZZ_SEEDS set, keeps the recorded files (*.das) of the
// folder as seeds of the recorded-file fuzz targets: as they are for
// das_file_fuzz, behind the byte 0x01 for replay_fuzz.
void keepRecordingsAsFuzzSeeds(const std::string& folder);

}  // namespace testsupport
