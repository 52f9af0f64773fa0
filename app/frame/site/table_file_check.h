// Names the setting or table file that kept the library from starting, as
// the engineer finds it in the program folder.
#pragma once

#include <QString>

// "vexa5.set" or "table/" when missing from the program folder; else the
// first file the library names ("table/outdr01.itm") when it reloads every
// table reporting each fault; else "vexa5.set", where every load begins.
// Takes the library's pending diagnostic lines.
QString failedTableFile();
