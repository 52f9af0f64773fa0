// The words of a conversion program that look things up: `ptable` and
// `stable` (a segment of a pressure or saturation table), `utable` (the
// scaling of a sensor input), `ercd` and `etable` (error-code texts),
// `table` (one of the texts that follow), and the change of a shown number
// to the engineer's choice of units.
#pragma once

#include "tables/conversion_context.h"

namespace tramsoll {

// Hands these words to the interpreter. The load of all tables does it
// first; until then the words fail the run.
void installTableWords();

// With the choice of degrees F and PSI (unitFlag 1): a unit word "C", the
// double-byte Celsius sign or its UTF-8 form becomes "F" (value x 1.8 + 32,
// full scale 100 -> 200 and 150 -> 300); "kgf/cm2" becomes "PSI" (value x
// 14.22336, full scale 50 -> 500). Anything else is left alone.
void applyDisplayUnit(int32_t unitFlag, char (&unitText)[kUnitTextSize], float& value, float& fullScale);

}  // namespace tramsoll
