#include "frame/frmMdi.h"


#include <QMdiArea>

frmMdi& frmMdi::instance() { return programInstance<frmMdi>(); }

frmMdi::frmMdi() {
  setWindowTitle(QStringLiteral("Pelomar Vexa 5 Software"));
  mdiArea = new QMdiArea(this);
  setCentralWidget(mdiArea);
}

QSize frmMdi::innerSize() const { return mdiArea->size(); }
