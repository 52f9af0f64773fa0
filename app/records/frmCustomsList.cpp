#include "records/frmCustomsList.h"

#include "frame/program_values.h"

frmCustomsList::frmCustomsList() { setWindowTitle(QStringLiteral("Customer Selection")); }

void frmCustomsList::onLoad() { centreInMainWindowTwips(7200, 5400); }

void frmCustomsList::onCancel() { program().workMode = kWorkFree; }
