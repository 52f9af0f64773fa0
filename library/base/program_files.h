// Files of the program folder, named as the system names them: "vexa5.set",
// "table\pressure.ktb", item-file names from the setting file. Names written
// with '\' are paths relative to the current folder; a name that does not
// exist as written is looked up without regard to case, folder by folder, as
// the files were named on a system whose file names ignore case.
#pragma once

#include <string>

namespace tramsoll {

// The name with every '\' turned into '/'.
std::string programPath(const char* name);

// The path of the existing file for a name: the name as written when it
// exists, else the first entry (in byte order) of each folder that matches
// ignoring case. A name that matches nothing comes back as written.
std::string findProgramFile(const char* name);

// A program file read whole, as it stood when it was opened.
struct ProgramFileBytes {
  std::string bytes;
  bool readError = false;  // the read stopped before the file's end
};

// Reads findProgramFile(name): only a regular file (a FIFO would block the
// open, a device never end the read), and no further than its length at the
// open. False when it cannot be opened or is no regular file.
bool readProgramFile(const char* name, ProgramFileBytes& out);

}  // namespace tramsoll
