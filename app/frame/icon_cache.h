// The pictures of the program's icon files (folder icons/ of the program
// folder), each read once and kept: the map redraws its page every few
// seconds, and the files do not change while the program runs.
#pragma once

#include <QIcon>
#include <QString>

#include <optional>

// The picture of the file named relative to the program folder
// ("icons/OU_green.ico"); none when it cannot be read, which is tried again
// at the next asking.
std::optional<QIcon> programIcon(const QString& relativePath);
