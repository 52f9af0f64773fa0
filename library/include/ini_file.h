// Private-profile files ("[section]" headers and "key=value" lines), read and
// written one key at a time. Sections and keys are compared without regard
// to case; every other line of the file is kept as it is. A write replaces
// the file through a temporary file in the same folder and a rename, so a
// crash leaves either the old or the new file.
//
// Its own small static library (tramsoll_ini): the library reads and writes
// pelomar3.ini with it and the program links the same code, so the two agree
// on every value. This header is its public face.
#pragma once

#include <cstdint>
#include <string>

namespace inifile {

// The value of `key` in `section` with blanks around it removed (and one pair
// of enclosing quotes), or `fallback` when the file, section or key is missing
// (a file that cannot be read, or is no regular file, counts as missing).
std::string readString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& fallback);

// The leading decimal integer of the value (0 when it has none), or
// `fallback` when the file, section or key is missing.
int32_t readInt(const std::string& path, const std::string& section, const std::string& key, int32_t fallback);

// Sets `key` in `section` to `value`, adding the key (at the end of the
// section) or the section (at the end of the file) when missing. Answers
// false when the key or value cannot be written as one line, or the file
// cannot be read (or is no regular file) or replaced; the old file is then
// left untouched.
bool writeString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value);
bool writeInt(const std::string& path, const std::string& section, const std::string& key, int32_t value);

}  // namespace inifile
