// The pictures of the program's icon files: the map's outdoor, indoor and
// central units in their five state colours and the sensor channel, and the
// centralized-operation window's address buttons in four state colours on
// the selected ("Water") and the plain ("White") ground.
#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace icons {

struct IconFile {
  QString name;  // the file name the windows load, exactly as they spell it
  QImage picture;
};

// Every icon file of the program's icons folder.
std::vector<IconFile> programIcons();

}  // namespace icons
