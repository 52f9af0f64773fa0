#include "display/frmDataShow.h"

#include "frame/library/tramsoll_api.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

#include <utility>

std::shared_ptr<frmDataShow> frmDataShow::create() {
  struct Made final : frmDataShow {};
  auto* window = new Made;
  // The MDI area owns the sub-window that holds a loaded window; deleting
  // that deletes the window with it. A window already gone with the main
  // window is left alone.
  return std::shared_ptr<frmDataShow>(window, [alive = QPointer<frmDataShow>(window)](frmDataShow*) {
    if (!alive) return;
    if (QMdiSubWindow* holder = alive->subWindow()) {
      holder->deleteLater();
    } else {
      alive->deleteLater();
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
  // Asked by its owner and by the end of the program: the file is released
  // once.
  if (flagForEnd) return;
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
  // The owner may drop the last holder of this window: leave it last.
  if (auto leave = std::exchange(leaveOwner_, nullptr)) leave(*this);
}
