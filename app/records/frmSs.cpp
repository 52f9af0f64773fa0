#include "records/frmSs.h"

frmSs::frmSs() { setWindowTitle(QStringLiteral("SS Data Input")); }

void frmSs::onLoad() { centreInMainWindowTwips(7200, 5400); }
