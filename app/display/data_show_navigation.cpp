// The display window's navigation of a replay (zoom, paging, cursor steps,
// the mouse and the cursor moves of the searches), its detail windows and
// the opening of its search windows. The record arithmetic decides; the
// window redraws what it asks for inside one busy state and sets its buttons
// from it afterwards.
#include "display/data_items.h"
#include "display/frmDataShow.h"
#include "display/frmDataShow2.h"
#include "display/frmSearchAnalog.h"
#include "display/frmSearchErrorCode.h"
#include "frame/twips.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

#include <algorithm>
#include <initializer_list>

// Mouse buttons pressed in either graph area place the cursor; x is taken
// from the area's inner left edge, where the graphs' positions start.
class GraphClickFilter : public QObject {
 public:
  explicit GraphClickFilter(frmDataShow& window) : QObject(&window), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonPress) return false;
    const auto* area = static_cast<QFrame*>(watched);
    const auto* press = static_cast<QMouseEvent*>(event);
    window_.graphMouseDown((press->position().x() - area->contentsRect().left()) * kTwipsPerPixel);
    return false;
  }

 private:
  frmDataShow& window_;
};

void frmDataShow::watchGraphClicks() {
  auto* filter = new GraphClickFilter(*this);
  for (QFrame* area : {picAnalog, picDigital}) area->installEventFilter(filter);
  // The lines and labels standing in the areas let a click through to them.
  for (QWidget* standing : std::initializer_list<QWidget*>{linCusorAnalog, linCusorDigital, linTriggerAnalog,
                                                          linTriggerDigital, Hcursor}) {
    standing->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  for (QLabel* label : lblAnalog) label->setAttribute(Qt::WA_TransparentForMouseEvents);
  for (QLabel* label : lblDigital) label->setAttribute(Qt::WA_TransparentForMouseEvents);
  for (QFrame* line : linDigital) line->setAttribute(Qt::WA_TransparentForMouseEvents);
}

// ---- Navigation ----

template <class Step>
void frmDataShow::navigate(Step step) {
  if (live() || flagForEnd) return;
  flagForEndOk = false;
  const Redraw redraw = step();
  storeScreen();
  redrawScreen(redraw);
  setNavigationButtons();
  flagForEndOk = true;
}

void frmDataShow::redrawScreen(const Redraw& redraw) {
  if (redraw == Redraw{}) return;
  beginBusy();
  if (redraw.cursor) showCusor();
  if (redraw.cursorValues) setCusorData();
  if (redraw.cursor) showLabel();
  if (redraw.cursorValues) showCusorData();
  if (redraw.graphs) showGraph();
  endBusy();
}

void frmDataShow::cmdLarge_Click() {
  navigate([this] { return screen_.zoomIn(); });
}

void frmDataShow::cmdSmall_Click() {
  navigate([this] { return screen_.zoomOut(); });
}

void frmDataShow::cmdBackward_Click() {
  navigate([this] { return screen_.pageBackward(); });
}

void frmDataShow::cmdForward_Click() {
  navigate([this] { return screen_.pageForward(); });
}

void frmDataShow::cmdLeft_Click() {
  navigate([this] { return screen_.cursorLeft(); });
}

void frmDataShow::cmdRight_Click() {
  navigate([this] { return screen_.cursorRight(); });
}

void frmDataShow::moveCusor(int32_t tmpCusorNo) {
  navigate([this, tmpCusorNo] { return screen_.moveCusor(tmpCusorNo); });
}

void frmDataShow::graphMouseDown(double x) {
  if (live() || flagForEnd || busyFlag()) return;
  const Redraw redraw = screen_.placeCursor(x);
  if (redraw == Redraw{}) return;
  storeScreen();
  redrawScreen(redraw);
  setNavigationButtons();
}

// ---- Search windows ----

void frmDataShow::openSearchWindow(const SearchTarget& target, const QString& dataItemName) {
  DataSearchForm& search = target.kind == SearchKind::Analog ? static_cast<DataSearchForm&>(frmSearchAnalog::instance())
                                                             : frmSearchErrorCode::instance();
  search.parentForm = this;
  search.dataItemName = dataItemName;
  search.customDir = customDir;
  search.fileNumber = fileNumber;
  search.airconType = target.airconType;
  search.airconNumber = target.airconNumber;
  search.dataitemNumber = target.dataitemNumber;
  search.showModal();
}

// ---- Detail windows ----

void frmDataShow::detail_Click() {
  if (flagForEnd) return;
  int32_t highest = 0;
  for (const auto& held : detailForms) highest = std::max(highest, held->formNumber);
  std::shared_ptr<frmDataShow2> window = frmDataShow2::create();
  window->formNumber = highest + 1;
  window->showData(*this);
  window->showForm();
  detailForms.add(window, QString::number(window->formNumber));
}

void frmDataShow::removeFormDataShow(const frmDataShow2& form) {
  const QString key = QString::number(form.formNumber);
  const auto held = detailForms.item(key);
  if (held && held.get() == &form) detailForms.remove(key);
}

void frmDataShow::closeDetailForms() {
  for (const auto& window : detailForms) {
    if (window->now_show > 0) window->prepareForEndFormDataShow2();
  }
}

void frmDataShow::redrawDetailForms() {
  // A refill may let a window go: walk a copy.
  const Collection<frmDataShow2> windows = detailForms;
  for (const auto& window : windows) {
    if (window->now_show > 0) window->redrawData();
  }
}

void frmDataShow::deleteDetailForms() {
  const Collection<frmDataShow2> windows = detailForms;
  detailForms.clear();
  for (const auto& window : windows) window->unload();
}
