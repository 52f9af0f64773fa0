// Files of the program folder, named as the system names them: "vexa5.set",
// "table\pressure.ktb", item-file names from the setting file. Names written
// with '\' are paths relative to the current folder; a name that does not
// exist as written is looked up without regard to case, folder by folder, as
// the files were named on a system whose file names ignore case.
#pragma once

#include <cstdio>
#include <string>

namespace tramsoll {

// The name with every '\' turned into '/'.
std::string programPath(const char* name);

// The path of the existing file for a name: the name as written when it
// exists, else the first entry (in byte order) of each folder that matches
// ignoring case. A name that matches nothing comes back as written.
std::string findProgramFile(const char* name);

// fopen of findProgramFile(name).
std::FILE* openProgramFile(const char* name, const char* mode);

}  // namespace tramsoll
