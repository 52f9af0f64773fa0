#include "records/frmDataTransfer.h"

#include "frame/program_values.h"

frmDataTransfer::frmDataTransfer() { setWindowTitle(QStringLiteral("Data Transfer")); }

void frmDataTransfer::onLoad() { centreInMainWindowTwips(7200, 5400); }

void frmDataTransfer::onUnload() { program().dataFunction = kDataFree; }
