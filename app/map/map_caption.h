// The caption of a window that belongs to a map or a recorded file: the
// window's title, "(", the customer name and "," when there is one, the map
// name and "," when there is one, the access method, ")".
#pragma once

#include <QString>

#include <cstdint>

QString mapCaption(const QString& title, const QString& customName, const QString& mapName, int32_t ifMode);
