// The per-user settings store of the program: values kept as decimal text
// under a section and a key, for the application PelomarVexa5Software.
// Section and key names are compared without regard to case, so "HCursor"
// and "Hcursor" name the same value.
#pragma once

#include <QString>

#include <cstdint>

namespace settings {

inline constexpr const char* kApplication = "PelomarVexa5Software";

// The stored text, or `fallback` when the section or key is missing.
QString readText(const QString& section, const QString& key, const QString& fallback);
// The stored whole number; `fallback` when missing or when the stored text
// is not a decimal 32-bit number.
int32_t readNumber(const QString& section, const QString& key, int32_t fallback);

// Stores the text under the key's existing spelling, or under `key` when the
// section has no such key yet. False when the store could not be written.
bool writeText(const QString& section, const QString& key, const QString& value);
bool writeNumber(const QString& section, const QString& key, int32_t value);

// The store's file, and whether it can be written (made when missing).
QString storeFileName();
bool storeIsWritable();

// Moves the store to another file: for tests, which keep the user's own
// store out of their way.
void useStoreFile(const QString& file);

}  // namespace settings
