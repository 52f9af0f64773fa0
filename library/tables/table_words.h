// The one place where the interpreter hands over to the words that need the
// conversion tables or the engineer's unit choice: the operators `ptable`,
// `stable`, `utable`, the endings `ercd`, `table`, `etable`, and the unit
// conversion of a shown number. Their module installs its functions here;
// until then the table words fail the run with a clear message and numbers
// are shown in the units the unit sends.
#pragma once

#include <atomic>
#include <cstdint>

#include "tables/conversion_context.h"

namespace tramsoll {

// The engineer's choice of units: 0 degrees C and kgf/cm2, 1 degrees F and
// PSI (setTmpUnit). Set without the calling frame, so it is read and written
// atomically; the interpreter reads it once per shown number and hands it on.
extern std::atomic<int32_t> tempUnitFlag;

// Changes the unit word, the value and the full scale in place for the
// choice of units `unitFlag`.
using DisplayUnitRun = void (*)(int32_t unitFlag, char (&unitText)[kUnitTextSize], float& value, float& fullScale);

struct TableWords {
  // Operators: may be followed by further operators. `utable` reads the
  // channel through `context.source` (nothing in check mode) and writes the
  // channel's unit over the word at the cursor with `replaceWord`.
  WordRun ptable;
  WordRun stable;
  WordRun utable;
  // Endings: set `resultText`; the interpreter then empties the unit text.
  WordRun ercd;
  WordRun table;
  WordRun etable;
  // Called by the display step of numeric data types, before formatting.
  DisplayUnitRun applyDisplayUnit;
};

// The functions in use. Every entry is set (the defaults fill any that an
// installed table leaves null).
const TableWords& tableWords();
void setTableWords(const TableWords& words);

}  // namespace tramsoll
