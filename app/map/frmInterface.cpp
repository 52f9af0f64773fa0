#include "map/frmInterface.h"

#include "frame/window_roads.h"
#include "map/frmMapsList.h"

#include <QtGlobal>

frmInterface::frmInterface() {
  setWindowTitle(QStringLiteral("Access Method Selection"));
  setCloseBox(CloseBox::RunsCancel);
}

void frmInterface::onLoad() {
  centreInMainWindowTwips(5400, 3600);
  qInfo("frmInterface: %s, %s", interfaceMode == kRecordOnly ? "record only" : "for the customer",
        interfaceMapNameMode == kRenameMap ? "rename" : "new map");
}

void frmInterface::cancel() {
  unload();
  if (interfaceMapNameMode != kRenameMap && interfaceMode == kRecordOnly) {
    takeWindowRoad(WindowRoad::CustomerList);
  } else {
    frmMapsList::instance().showForm();
  }
}
