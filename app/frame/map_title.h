// The title of the windows that work on one map or one recorded file (the
// map window, the centralized-operation window, the unit counts, a recorded
// file's trigger conditions): the window's own text, then in brackets the
// customer's name and the map's name, each followed by a comma when set, and
// the access method, as in "Network Map Display(Kansai Works,Roof,Q7-NET)".
#pragma once

#include "types/MapQ7net.h"

#include <QString>

#include <cstdint>

// Interface modes of bus access (2, 3) and of board access (4, 5, 8, 9).
bool isBusAccess(int32_t ifMode);
bool isBoardAccess(int32_t ifMode);
// The access-method column: "Sensor input only", "Q7-NET", "PCB connection",
// or empty for any other interface mode.
QString accessMethodText(int32_t ifMode);

QString mapWindowTitle(const QString& windowText, const QString& customName, const QString& mapName, int32_t ifMode);
QString mapWindowTitle(const QString& windowText, const MapQ7net& map);
// A window on one part of the map names that part after the access method
// (itself followed by a comma when there is one), inside the brackets:
// "Detail Data Input(Roof,Q7-NET,System 2,PUHY-P250)".
QString mapWindowTitle(const QString& windowText, const MapQ7net& map, const QString& part);
