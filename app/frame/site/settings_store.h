// The per-user settings store of the program: values kept as decimal text
// under a section and a key, for the application PelomarVexa5Software, in
// Qt's INI format. Section and key names are compared without regard to
// case, so "HCursor" and "Hcursor" name the same value.
//
// The store is read once, at the first reading, and the readings after it
// come from memory; each write reads the file again, sets the value and
// puts the new text in place whole. A store that cannot be read (not a
// regular file, or over kLargestStore, which only damage makes) leaves the
// defaults standing and is never replaced.
#pragma once

#include <QString>

#include <cstdint>

namespace settings {

inline constexpr const char* kApplication = "PelomarVexa5Software";
// The store holds a few dozen short values, under a kilobyte.
inline constexpr int64_t kLargestStore = 1024 * 1024;

// The stored text, or `fallback` when the section or key is missing.
QString readText(const QString& section, const QString& key, const QString& fallback);
// The stored whole number; `fallback` when missing or when the stored text
// is not a decimal 32-bit number.
int32_t readNumber(const QString& section, const QString& key, int32_t fallback);

// Stores the text under the key's existing spelling, or under `key` when the
// section has no such key yet. False when the store could not be written.
bool writeText(const QString& section, const QString& key, const QString& value);
bool writeNumber(const QString& section, const QString& key, int32_t value);

// The store's file, and whether it can be written (made when missing): not
// when it cannot be read, is a link or a file the user may not write.
QString storeFileName();
bool storeIsWritable();

// Moves the store to another file, to be read at the next reading: for
// tests, which keep the user's own store out of their way and start the
// program over stores of their own.
void useStoreFile(const QString& file);

}  // namespace settings
