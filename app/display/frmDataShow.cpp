#include "display/frmDataShow.h"

#include "display/data_show_layout.h"
#include "frame/library/tramsoll_api.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

#include <utility>

std::shared_ptr<frmDataShow> frmDataShow::create() {
  struct Made final : frmDataShow {};
  return hold(new Made);
}

std::shared_ptr<frmDataShow> frmDataShow::hold(frmDataShow* window) {
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

void frmDataShow::onLoad() {
  // The smallest size the window is laid out for.
  setGeometryTwips(0, 0, dataShowDesign::kMinimumWidth, dataShowDesign::kMinimumHeight);
}

GraphSystem& frmDataShow::graphSystem() {
  if (!graphSystemObj) graphSystemObj = std::make_shared<GraphSystem>();
  return *graphSystemObj;
}

void frmDataShow::setDataItem() {
  GraphSystem& graph = graphSystem();
  const QByteArray folder = textForLibrary(customDir);
  int32_t total = 0;
  for (const Collection<GraphAircon>* units : {&graph.airconsOut, &graph.airconsIn, &graph.airconsCen,
                                               &graph.airconsSen}) {
    for (const auto& unit : *units) {
      int32_t items = 0, records = 0, trigger = 0, interval = 0;
      tramsollApi().getDataItemNum(dataSource, folder.constData(), fileNumber, graph.systemNumber, unit->airconType,
                                   unit->airconNumber, &items, &records, &trigger, &interval);
      total += items;
    }
  }
  graph.totalItemNumber = total;
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
