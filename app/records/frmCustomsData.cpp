#include "records/frmCustomsData.h"

#include "frame/program_values.h"

frmCustomsData::frmCustomsData() { setWindowTitle(QStringLiteral("Customer Data Selection")); }

void frmCustomsData::onLoad() {
  setGeometryTwips(0, 0, 9000, 5400);
  dataShowForms.clearFlagForEnd();
  program().customsDataOpen = true;
}

void frmCustomsData::onUnload() {
  ProgramValues& values = program();
  values.customsDataOpen = false;
  values.dataFunction = kDataFree;
}

void frmCustomsData::prepareForEndFormCustomsData() {
  dataShowForms.prepareForEnd();
  unload();
}
