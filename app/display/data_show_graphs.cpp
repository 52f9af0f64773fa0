// The display window's graphs: full redraws of the analog and digital areas,
// one item drawn over them, the layout on resize, the level read-out under
// the mouse, and the item list's clicks and F12 that turn items on and off.
#include "display/data_items.h"
#include "display/frmDataShow.h"
#include "display/painted_graph_canvas.h"
#include "frame/event_manager.h"
#include "frame/library/tramsoll_api.h"
#include "frame/library/library_text.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QTableWidget>

#include <functional>
#include <utility>

namespace {

constexpr int kAnalogFullText = 396;
constexpr int kDigitalFullText = 397;
constexpr int kToggleKey = Qt::Key_F12;

// The library's samples of the window's screen.
class LibraryGraphSamples final : public GraphSamples {
 public:
  explicit LibraryGraphSamples(const bool& closing) : closing_(closing) {}

  // The window's recording or live tables and its system, as every graph
  // call names them.
  void setSource(int32_t dataSource, const QString& customDir, int32_t fileNumber, int32_t systemNumber) {
    dataSource_ = dataSource;
    folder_ = textForLibrary(customDir);
    fileNumber_ = fileNumber;
    systemNumber_ = systemNumber;
  }

  void getGraphData(const PlotRequest& item, int32_t first, int32_t count, GraphChunk& samples) override {
    // The result is not looked at: a failed call draws what the array holds.
    tramsollApi().getGraphData(dataSource_, folder_.constData(), fileNumber_, systemNumber_, item.unitKind,
                               item.unitNumber, item.dataItemNo, first, count, samples.data());
  }
  bool closing() const override { return closing_; }

 private:
  const bool& closing_;
  int32_t dataSource_ = 0;
  QByteArray folder_;
  int32_t fileNumber_ = 0;
  int32_t systemNumber_ = 0;
};

// Hands the keys of a control to the window before the control sees them.
class KeyWatch final : public QObject {
 public:
  KeyWatch(QObject* watched, std::function<bool(int key)> press) : QObject(watched), press_(std::move(press)) {
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    return press_(static_cast<QKeyEvent*>(event)->key());
  }

 private:
  std::function<bool(int key)> press_;
};

WindowShow showOf(const QMdiSubWindow* window) {
  if (window && window->isMinimized()) return WindowShow::Minimised;
  if (window && window->isMaximized()) return WindowShow::Maximised;
  return WindowShow::Normal;
}

}  // namespace

struct frmDataShow::GraphDrawing {
  GraphDrawing(const GraphAreaParts& parts, const bool& closing)
      : canvas(parts), samples(closing), plotter(canvas, samples) {}
  PaintedGraphCanvas canvas;
  LibraryGraphSamples samples;
  GraphPlotter plotter;
};

void frmDataShow::makeGraphDrawing() {
  GraphAreaParts parts;
  parts.analog = picAnalog;
  parts.digital = picDigital;
  parts.scale = picVscale;
  parts.legends = lblAnalog;
  parts.laneLabels = lblDigital;
  for (std::size_t i = 0; i < 9; ++i) parts.scaleLabels[i] = lblP[9 - i];  // "90" .. "10"
  parts.scaleLabels[9] = lblP0;
  parts.scaleLabels[10] = lblP[0];  // "-10"
  parts.scaleLabels[11] = lblP20;
  parts.readOut = txtCurY;
  drawing_ = std::make_shared<GraphDrawing>(parts, flagForEnd);

  connect(picAnalog, &GraphArea::mouseMovedTo, this, [this](double y) { picAnalog_MouseMove(y); });
  connect(picVscale, &GraphArea::mouseMovedTo, this, [this](double y) { picVscale_MouseMove(y); });
  connect(grdList, &QTableWidget::cellClicked, this, [this] { grdList_Click(); });
  new KeyWatch(grdList, [this](int key) {
    if (key != kToggleKey) return false;
    grdList_KeyDown(key);
    return true;
  });
}

// ---- Redraws ----

void frmDataShow::prepareDrawing() {
  drawing_->samples.setSource(dataSource, customDir, fileNumber,
                              systemSelector(graphSystem(), live(), ordinarySystems()));
  const auto& options = program().displayOptions;
  drawing_->canvas.setScaleOptions(options[kSubLine], levelReadOutShown(options[kCursor], live()));
}

void frmDataShow::setGraphGeometry(const AreaGeometry& geometry) {
  drawing_->plotter.setGeometry(geometry, digitalBars_);
  drawing_->canvas.placeScaleLabels();
}

void frmDataShow::showGraph() {
  if (flagForEnd) return;
  showAnalogGraph();
  showDigitalGraph();
}

void frmDataShow::showAnalogGraph() {
  if (flagForEnd) return;
  const std::vector<ListItem> rows = graphRows(listedItems(graphSystem()));
  counts_ = countGraphedItems(rows);
  prepareDrawing();
  drawing_->plotter.showAnalogGraph(analogPlots(rows, pens_), screen_);
  drawing_->canvas.finish();
}

void frmDataShow::showDigitalGraph() {
  if (flagForEnd) return;
  const std::vector<ListItem> rows = graphRows(listedItems(graphSystem()));
  counts_ = countGraphedItems(rows);
  prepareDrawing();
  drawing_->plotter.showDigitalGraph(digitalPlots(rows), screen_);
  drawing_->canvas.finish();
}

void frmDataShow::plotItem(const PlotRequest& item) {
  if (flagForEnd) return;
  prepareDrawing();
  drawing_->plotter.plotItem(item, screen_);
  drawing_->canvas.finish();
}

// ---- Layout ----

void frmDataShow::resizeEvent(QResizeEvent* event) {
  ChildForm::resizeEvent(event);
  if (isLoaded()) Form_Resize();
}

void frmDataShow::Form_Resize() {
  const int innerWidth = pixelsToTwips(width());
  const int innerHeight = pixelsToTwips(height());
  if (!laysOut(showOf(subWindow()), innerWidth, innerHeight)) return;
  layOutControls(layoutDataShow(innerWidth, innerHeight));
  showGraph();
  showCusor();
}

// ---- Level read-out ----

void frmDataShow::picAnalog_MouseMove(double y) { showLevelAt(y, picAnalog->scaleHeight()); }

void frmDataShow::picVscale_MouseMove(double y) { showLevelAt(y, picVscale->scaleHeight()); }

void frmDataShow::showLevelAt(double y, int scaleHeight) {
  if (!levelReadOutShown(program().displayOptions[kCursor], live())) return;
  const int pixel = static_cast<int>(y / kTwipsPerPixel);
  for (auto [line, area] : {std::pair{Hcursor, picAnalog}, std::pair{HcursorS, picVscale}}) {
    line->move(area->contentsRect().left(), area->contentsRect().top() + pixel);
    line->show();
  }
  txtCurY->setText(QString::number(levelAt(y, scaleHeight)));
}

// ---- Item list ----

void frmDataShow::grdList_Click() {
  if (busyFlag()) return;
  EventManager& guard = eventManager();
  if (!guard.askEvent(kDataShowFormName, formNumber, dataSource, kUserEvent)) return;
  guard.setEvent(kDataShowFormName, formNumber, dataSource, kUserEvent);
  toggleGraphOfRow(grdList->currentRow() + 1);
  guard.clearEvent(kDataShowFormName, formNumber, dataSource, kUserEvent);
}

void frmDataShow::grdList_KeyDown(int keyCode) {
  if (busyFlag()) return;
  EventManager& guard = eventManager();
  if (!guard.askEvent(kDataShowFormName, formNumber, dataSource, kUserEvent)) return;
  guard.setEvent(kDataShowFormName, formNumber, dataSource, kUserEvent);
  if (keyCode == kToggleKey) {
    lastRow_ = grdList->currentRow() + 1;  // F12 toggles the selected row at once
    toggleGraphOfRow(lastRow_);
  }
  guard.clearEvent(kDataShowFormName, formNumber, dataSource, kUserEvent);
}

void frmDataShow::toggleGraphOfRow(int32_t row) {
  if (flagForEnd) return;
  flagForEndOk = false;
  const auto mayEnd = qScopeGuard([this] { flagForEndOk = true; });
  if (row != lastRow_) {
    lastRow_ = row;  // the first click selects
  } else {
    turnItemOnOrOff(row);
  }
  selectWholeRow(row);
}

void frmDataShow::turnItemOnOrOff(int32_t row) {
  const std::vector<ListedItem> items = listedItems(graphSystem());
  std::vector<ListItem> rows = graphRows(items);
  counts_ = countGraphedItems(rows);
  const Toggle toggle = toggleItem(rows, row, pens_);
  switch (toggle.outcome) {
    case ToggleOutcome::Nothing:
      return;
    case ToggleOutcome::AnalogFull:
      setMainStatusText(tableText(kAnalogFullText));
      return;
    case ToggleOutcome::DigitalFull:
      setMainStatusText(tableText(kDigitalFullText));
      return;
    default:
      break;
  }
  beginBusy();
  keepGraphShow(rows, items);
  setRowMarker(static_cast<int32_t>(toggle.marker.state), row, toggle.marker.pen);
  switch (toggle.outcome) {
    case ToggleOutcome::TurnedOff:
      if (toggle.redrawAnalog) showAnalogGraph();
      if (toggle.redrawDigital) showDigitalGraph();
      break;
    case ToggleOutcome::TurnedOnAnalog:
      plotItem(toggle.plot);  // over what the area shows
      counts_.analogCount += 1;
      break;
    case ToggleOutcome::TurnedOnDigital:
      plotItem(toggle.plot);  // in the next lane
      counts_.digitalCount += 1;
      break;
    default:
      break;
  }
  endBusy();
}
