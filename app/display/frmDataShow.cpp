#include "display/frmDataShow.h"

#include "frame/library/tramsoll_api.h"
#include "map/frmMap.h"
#include "records/frmCustomsData.h"

#include <QMdiSubWindow>
#include <QTimer>

std::shared_ptr<frmDataShow> frmDataShow::create() {
  // The MDI area owns the sub-window that holds a loaded window; deleting
  // that deletes the window with it.
  return std::shared_ptr<frmDataShow>(new frmDataShow, [](frmDataShow* window) {
    if (QMdiSubWindow* holder = window->subWindow()) {
      holder->deleteLater();
    } else {
      window->deleteLater();
    }
  });
}

frmDataShow::frmDataShow() {
  setWindowTitle(QStringLiteral("Operation Data Display"));
  tmrForEnd = new QTimer(this);
  tmrForEnd->setSingleShot(true);
  tmrForEnd->setInterval(kEndDelayMs);
  connect(tmrForEnd, &QTimer::timeout, this, [this] { tmrForEnd_Timer(); });
}

void frmDataShow::prepareForEndFormDataShow() {
  flagForEnd = true;
  if (subWindow()) subWindow()->hide();
  if (realtime != 1) tramsollApi().closeDataFile(textForLibrary(customDir).constData(), fileNumber);
  tmrForEnd->start();
}

void frmDataShow::tmrForEnd_Timer() {
  if (!flagForEndOk) {
    tmrForEnd->start();  // still drawing: look again later
    return;
  }
  unload();
  // The opener may drop the last holder of this window: leave it last.
  if (realtime == 1) {
    frmMap::instance().removeFormDataShow(*this);
  } else {
    frmCustomsData::instance().removeFormDataShow(*this);
  }
}
