#include "map/frmMapsList.h"

#include "frame/site/site_files.h"
#include "frame/window_roads.h"

#include <QtGlobal>

frmMapsList::frmMapsList() {
  setWindowTitle(QStringLiteral("Network Map Selection"));
  setCloseBox(CloseBox::RunsCancel);
}

void frmMapsList::onLoad() {
  centreInMainWindowTwips(7200, 4800);
  qInfo("frmMapsList: the maps of \"%s\", opened from the %s", qUtf8Printable(currentCustomer().id),
        mapsListComeFrom == kFromCustomerEditor ? "customer editor" : "customer list");
}

void frmMapsList::cancel() {
  unload();
  const bool backToEditor = mapsListComeFrom == kFromCustomerEditor && !currentCustomer().name.isEmpty();
  takeWindowRoad(backToEditor ? WindowRoad::CustomerEditor : WindowRoad::CustomerList);
}
