#include "display/frmDataShow2.h"

#include "display/data_items.h"
#include "display/frmDataShow.h"
#include "frame/common_routines.h"
#include "frame/grid.h"
#include "frame/library/tramsoll_client.h"
#include "frame/main_window.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "tramsoll.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kCaptionText = 250;

// Design places and sizes, twips.
constexpr int kGridLeft = 20;
constexpr int kGridTop = 310;
constexpr int kRightMargin = 30;  // the grid is this much narrower than the window
constexpr int kLabelLeft = 960;
constexpr int kLabelTop = 70;
constexpr int kLabelWidth = 4000;
constexpr int kLabelHeight = 210;
constexpr int kMinimumWidth = 1000;
constexpr int kMinimumHeight = 1400;
constexpr int kOpeningWidth = 9000;
constexpr int kOpeningHeight = 4800;
constexpr int kCascadeStep = 300;
constexpr int kCascadeSteps = 8;
constexpr int kTimeColumnWidth = 900;
constexpr int kItemColumnWidth = 1100;
constexpr int kCellPadding = 12;  // pixels around a cell's text

constexpr int64_t kSecondsPerDay = 86400;
constexpr int32_t kLiveStep = 5;        // seconds between two live samples
constexpr int32_t kLiveSpan = 600;      // seconds a live screen reaches back
constexpr int kDesignRows = 20;         // rows the design grid shows before filling

// A time of day of any count of seconds, however far from the day it lies.
QString timeText(int64_t seconds) {
  return secondsToTimeText(static_cast<int32_t>(((seconds % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay));
}

}  // namespace

std::shared_ptr<frmDataShow2> frmDataShow2::create() {
  struct Made final : frmDataShow2 {};
  return holdChildForm<frmDataShow2>(new Made);
}

frmDataShow2::frmDataShow2() {
  setWindowTitle(tableText(kCaptionText));
  grd = new QTableWidget(kDesignRows, 1, this);
  Grid(*grd).selectWholeRows();
  grd->setWordWrap(false);
  grd->horizontalHeader()->setDefaultSectionSize(twipsToPixels(kItemColumnWidth));
  setFocusProxy(grd);
  start = new QLabel(this);
  start->setGeometry(twipsRect(kLabelLeft, kLabelTop, kLabelWidth, kLabelHeight));
  setMinimumSize(twipsToPixels(kMinimumWidth), twipsToPixels(kMinimumHeight));
}

void frmDataShow2::onLoad() {
  const GraphSystem empty;
  const GraphSystem& graph = graph_ ? *graph_ : empty;
  setWindowTitle(tableText(kCaptionText) + QStringLiteral(" [detail] (") + graph.customName + QLatin1Char(',') +
                 graph.mapName + QLatin1Char(')'));
  now_show = 1;
  QFont gridFont = grd->font();
  gridFont.setPointSize(program().displayOptions[kFontSize]);
  grd->setFont(gridFont);
  grd->verticalHeader()->setDefaultSectionSize(grd->fontMetrics().height() + 4);
  resizeClientTwips(kOpeningWidth, kOpeningHeight);
  placeBesideParent();
}

void frmDataShow2::placeBesideParent() {
  // Each detail window opens a step further down and right of its parent,
  // cut to the main window's area so that it opens whole in sight.
  QMdiArea* area = mainMdiArea();
  if (!area || !subWindow() || !parent_ || !parent_->subWindow()) return;
  const int step = twipsToPixels(kCascadeStep) * (1 + (formNumber - 1) % kCascadeSteps);
  const QSize room = area->viewport()->size();
  QPoint at = parent_->subWindow()->pos() + QPoint(step, step);
  at.setX(std::max(0, std::min(at.x(), room.width() - subWindow()->minimumSizeHint().width())));
  at.setY(std::max(0, std::min(at.y(), room.height() - subWindow()->minimumSizeHint().height())));
  subWindow()->move(at);
  subWindow()->resize(std::min(subWindow()->width(), std::max(room.width() - at.x(), minimumWidth())),
                      std::min(subWindow()->height(), std::max(room.height() - at.y(), minimumHeight())));
}

void frmDataShow2::onUnload() {
  now_show = 0;
  graph_.reset();
  // The parent may drop its last hold of this window: leave it last.
  if (frmDataShow* parent = parent_.data()) {
    parent_.clear();
    parent->removeFormDataShow(*this);
  }
}

void frmDataShow2::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    prepareForEndFormDataShow2();
    return;
  }
  ChildForm::keyPressEvent(event);
}

void frmDataShow2::resizeEvent(QResizeEvent* event) {
  ChildForm::resizeEvent(event);
  const int width = pixelsToTwips(this->width());
  const int height = pixelsToTwips(this->height());
  grd->setGeometry(twipsRect(kGridLeft, kGridTop, std::max(width - kRightMargin, 0), std::max(height - kGridTop, 0)));
}

void frmDataShow2::prepareForEndFormDataShow2() { hideSubWindow(); }

int32_t frmDataShow2::systemNumber() const {
  return systemSelector(*graph_, live(), ordinarySystems_ ? ordinarySystems_() : 0);
}

void frmDataShow2::showData(frmDataShow& parent) {
  dataSource_ = parent.dataSource;
  customDir_ = parent.customDir;
  fileNumber_ = parent.fileNumber;
  graph_ = parent.graphSystemObj ? parent.graphSystemObj : std::make_shared<GraphSystem>();
  ordinarySystems_ = parent.ordinarySystemCount;
  parent_ = &parent;
  load();
  grd->hide();
  grd->setRowCount(std::max(graph_->graphNum, 0));
  fillTimeColumn();
  // The graphed items in the order of the list, analog and digital alike;
  // a grid holds no more than 16 of them.
  columnItems_.clear();
  QStringList headings{QString()};
  for (const ListedItem& listed : listedItems(*graph_)) {
    if (listed.item->graphShow != 1 || columnItems_.size() >= kMaxColumns) continue;
    columnItems_.push_back({listed.unit->airconNumber, listed.item->dataItemNo, listed.unitKind});
    headings << listed.item->dataName;
  }
  grd->setColumnCount(static_cast<int>(columnItems_.size()) + 1);
  Grid(*grd).setHeadings(headings);
  // A time is read whole, whatever the grid's font.
  const int timeWidth = grd->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + kCellPadding;
  grd->setColumnWidth(0, std::max(twipsToPixels(kTimeColumnWidth), timeWidth));
  for (int column = 1; column < grd->columnCount(); ++column) {
    grd->horizontalHeaderItem(column)->setToolTip(headings[column]);  // a cut name reads whole
    fillColumn(column, columnItems_[static_cast<std::size_t>(column - 1)]);
  }
  grd->show();
}

void frmDataShow2::redrawData() {
  if (!graph_) return;
  grd->hide();
  fillTimeColumn();
  for (std::size_t c = 0; c < columnItems_.size(); ++c) fillColumn(static_cast<int>(c) + 1, columnItems_[c]);
  grd->show();
}

void frmDataShow2::fillTimeColumn() {
  const GraphSystem& graph = *graph_;
  Grid grid(*grd);
  int64_t first = 0;
  int64_t step = 0;
  int32_t rows = 0;
  if (live()) {
    // The newest samples lie at the bottom: the first filling shows them.
    // The window is laid out once it is shown: the scroll waits for that.
    if (now_show == 1) {
      QTimer::singleShot(0, grd, [grid = grd] {
        if (grid->rowCount() > 0) {
          grid->scrollTo(grid->model()->index(grid->rowCount() - 1, 0), QAbstractItemView::PositionAtTop);
        }
      });
      now_show = 2;
    }
    first = int64_t(graph.cusorTime) - kLiveSpan;
    step = kLiveStep;
    rows = std::min(kLiveRows, grd->rowCount());
  } else {
    first = int64_t(graph.saveTime) + (int64_t(graph.graphStartNo) - 1) * graph.recodeInterval;
    step = graph.recodeInterval;
    rows = grd->rowCount();
  }
  for (int32_t i = 0; i < rows; ++i) grid.setText(i, 0, timeText(first + step * i));
  const int64_t last = first + step * std::max(rows - 1, 0);
  start->setText(timeText(first) + QStringLiteral(" - ") + timeText(last));
}

void frmDataShow2::fillColumn(int column, const DetailColumn& item) {
  TramsollClient client;
  const ItemSource source{dataSource_, customDir_, fileNumber_, systemNumber(), item.unitKind, item.unitNumber};
  Grid grid(*grd);
  int32_t first = graph_->graphStartNo;
  int32_t remaining = std::min(graph_->graphNum, grd->rowCount());
  int row = 0;
  while (remaining >= 1) {
    const int32_t count = std::min(remaining, int32_t{TRAMSOLL_GRAPH_RECORD_COUNT});
    const GraphTexts texts = client.graphTexts(source, item.dataItemNo, first, count);
    for (int32_t j = 0; j < count; ++j) grid.setText(row + j, column, texts.valueTexts.value(j));
    remaining -= count;
    first += count;
    row += count;
  }
}
