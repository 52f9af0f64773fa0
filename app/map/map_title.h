// The title of the windows that work on one map (the map window, the
// centralized-operation window, the unit counts): the window's own text,
// then in brackets the customer's name and the map's name, each followed by
// a comma when set, and the access method, as in
// "Network Map Display(Kansai Works,Roof,Q7-NET)".
#pragma once

#include "types/MapQ7net.h"

#include <QString>

QString mapWindowTitle(const QString& windowText, const MapQ7net& map);
