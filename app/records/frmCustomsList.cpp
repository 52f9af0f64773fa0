#include "records/frmCustomsList.h"

#include "frame/frmMain.h"
#include "frame/program_values.h"

frmCustomsList& frmCustomsList::instance() { return programInstance<frmCustomsList>(); }

frmCustomsList::frmCustomsList() { setWindowTitle(QStringLiteral("Customer Selection")); }

void frmCustomsList::onLoad() { centreInMainWindowTwips(7200, 5400); }

void frmCustomsList::onUnload() {
  program().workMode = kWorkFree;
  frmMain::instance().showForm();
}
