#include "frame/main_window.h"

#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>

namespace {

struct Handover {
  MainWindowParts parts;
  std::function<void()> maker;
};

Handover& handover() {
  static Handover state;
  return state;
}

}  // namespace

void handOverMainWindow(const MainWindowParts& parts) { handover().parts = parts; }

void setMainWindowMaker(std::function<void()> maker) { handover().maker = std::move(maker); }

const MainWindowParts& mainWindowParts() {
  Handover& state = handover();
  if (!state.parts.window && state.maker) state.maker();
  return state.parts;
}

QMainWindow* mainWindow() { return mainWindowParts().window; }

QMdiArea* mainMdiArea() { return mainWindowParts().mdiArea; }

QSize mainInnerSize() {
  const QMdiArea* area = mainMdiArea();
  return area ? area->size() : QSize();
}

QPoint mainInnerOrigin() {
  const QMdiArea* area = mainMdiArea();
  return area ? area->mapToGlobal(QPoint(0, 0)) : QPoint();
}

void setMainStatusText(const QString& text) {
  if (QLabel* line = mainWindowParts().statusLine) line->setText(text);
}
