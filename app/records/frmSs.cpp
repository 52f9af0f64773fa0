#include "records/frmSs.h"

#include "frame/frmMain.h"

frmSs& frmSs::instance() { return programInstance<frmSs>(); }

frmSs::frmSs() { setWindowTitle(QStringLiteral("SS Data Input")); }

void frmSs::onLoad() { centreInMainWindowTwips(7200, 5400); }

void frmSs::onUnload() {
  frmMain::instance().showForm();
}
