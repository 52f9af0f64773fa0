// Reading vexa5.set into the setting tables.
#pragma once

#include "tables/scrambled.h"

namespace tramsoll {

// Reads every row of vexa5.set in the current folder into the setting
// tables. True when every row was accepted; refused rows are logged with
// their line numbers as "KtbError: vexa5.set(n) ..." and left out.
bool loadSettingFile();

// The rows of a setting file's stored bytes, as loadSettingFile reads them.
bool readSettingRows(ScrambledText& text);

// Finds the "VER" row of vexa5.set. False when the file cannot be opened or
// has none. A line over length sets the table-load bit and is skipped.
bool readVersionRow(Fields& fields);

}  // namespace tramsoll
