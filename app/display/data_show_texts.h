// Texts of a display window built from its model: the window caption, the
// mode before the cursor's date and time, and the full scale corrected for
// values shown in degrees F or in PSI.
#pragma once

#include "types/GraphSystem.h"

#include <QString>

#include <cstdint>
#include <optional>

// The access-method word of an interface mode in the caption: 1 "Sensor
// input only", 2 "Q7-NET", 3 "Q7-NET and sensor input", 4 and 8 "PCB
// connection", 5 and 9 "PCB connection and sensor input"; "" for another.
QString accessMethodWord(int32_t ifMode);
// "Operation Data Display(customer,map,access method,System n,model)", the
// parts that are empty left out with their commas. A central-bus system of
// a live window is numbered after the open map's ordinary systems, as the
// library numbers it; in a replay window it keeps its own number.
QString dataShowCaption(const GraphSystem& graph, bool live, int32_t ordinarySystems);
// "Monitoring: " live; replay "Play trig. rcd data: " for a trigger file,
// else "Play period. rcd data: ".
QString cursorModeText(bool live, int32_t graphTriggerNo);
// The mode text, the cursor's date and its time of day.
QString cursorDayText(const GraphSystem& graph, bool live);
// The full-scale cell for a value text just shown: 100 and 150 doubled for
// a value in degrees F (" F"), 50 made 500 for a value in PSI (" PSI"), the
// unit compared without regard to case. None when the cell stays as it is
// (another unit, another full scale, or a cell that holds no number).
std::optional<QString> adjustedFullScale(const QString& valueText, const QString& fullScaleCell);
