#include "records/frmCustomsData.h"

#include "display/frmDataShow.h"
#include "frame/frmMain.h"
#include "frame/program_values.h"

frmCustomsData& frmCustomsData::instance() { return programInstance<frmCustomsData>(); }

frmCustomsData::frmCustomsData() { setWindowTitle(QStringLiteral("Customer Data Selection")); }

void frmCustomsData::removeFormDataShow(const frmDataShow& form) {
  dataShowForms.remove(QString::number(form.formNumber));
}

void frmCustomsData::onLoad() {
  setGeometryTwips(0, 0, 9000, 5400);
  program().customsDataOpen = true;
}

void frmCustomsData::onUnload() {
  ProgramValues& values = program();
  values.customsDataOpen = false;
  values.dataFunction = kDataFree;
  if (!flagForEnd) frmMain::instance().showForm();
}
