// Reading one per-model item file (table/<name>) into the model tables, in
// three passes over the file: the report section, then the data blocks and
// unit groups, then the items. Every fault is written as a "KtbError: " line
// with the file name and line number; those that make the load fail also set
// the table-load bit.
#pragma once

namespace tramsoll {

// Pass 1: adds the file's KishuTable entry with its report values and
// texts. False when the file cannot be opened (or its name is refused).
bool loadItemReport(const char* fileName);

// Pass 2: the data section's blocks and the exist section's unit groups.
// False when the file has no KishuTable entry or cannot be opened.
bool loadItemDataAndGroups(const char* fileName);

// Pass 3: the item sections; items of sections that name no unit group go
// to the group of `unitClass` (0, 1, 100 or 200) with number 0.
bool loadItems(const char* fileName, int unitClass);

}  // namespace tramsoll
