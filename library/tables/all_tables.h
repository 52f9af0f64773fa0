// The load of every setting and table file that initTramsoll and
// checkKishuTbl run.
#pragma once

namespace tramsoll {

// True only from checkKishuTbl's load on; the loaders then write the
// messages that they otherwise keep silent.
extern bool checkMode;

// Loads the setting file and every table it leads to. Always true: failures
// show as the table-load bit of the error words and as "KtbError: " and
// "FileHndl: " lines.
bool loadAllTables();

}  // namespace tramsoll
