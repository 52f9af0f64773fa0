#include "map/frmMap.h"

frmMap& frmMap::instance() { return programInstance<frmMap>(); }

frmMap::frmMap() { setWindowTitle(QStringLiteral("Network Map Display")); }

void frmMap::prepareForEndFormMap() {
  // The window's recordings, timers and end timer come with the map itself.
}
