#include "map/frmAirconNumShow.h"

#include "frame/grid.h"
#include "frame/main_window.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "frame/window_controls.h"
#include "frame/map_title.h"

#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

#include <algorithm>
#include <array>

namespace {

constexpr int kTitleText = 243;
constexpr int kCancelText = 244;
constexpr int kSystemText = 6;
constexpr int kSubTotalText = 248;
constexpr int kTotalText = 249;
constexpr int kStatusText = 394;
constexpr int kGridLeft = 60;
constexpr int kGridTop = 60;
constexpr int kGridWidth = 4280;
constexpr int kGridHeight = 3520;
constexpr int kCancelLeft = 4400;

// Outdoor, indoor and central units: the grid's columns 1 to 3.
using UnitCounts = std::array<int, 3>;

}  // namespace

frmAirconNumShow::frmAirconNumShow() {
  setWindowTitle(QStringLiteral("Number of Units Display"));
  setCloseBox(CloseBox::None);
  cmdCancel = placeControl<QPushButton>(this, QRect(kCancelLeft, 1600, 1600, 500), QStringLiteral("Close (Esc)"));
  grdList = placeControl<QTableWidget>(this, QRect(kGridLeft, kGridTop, kGridWidth, kGridHeight));
  grdList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdList->setWordWrap(false);
  keys_.add(Qt::Key_Escape, cmdCancel, this, [this] { cancel(); });
  setTabOrder(cmdCancel, grdList);
  keys_.previewKeysOf(*this);
}

void frmAirconNumShow::onLoad() {
  const QString title = tableText(kTitleText);
  setWindowTitle(mapQ7netObj ? mapWindowTitle(title, *mapQ7netObj) : title);
  if (captionsFromTable()) {
    cmdCancel->setText(tableText(kCancelText));
    useAppFont({cmdCancel, grdList});
  }
  fillUnitCounts();
  centreClientInMainWindowTwips(clientWidthTwips_, kClientHeight);
  cmdCancel->setFocus();
}

void frmAirconNumShow::onActivate() { setMainStatusText(tableText(kStatusText)); }

void frmAirconNumShow::showGridHeader() {
  Grid cells(*grdList);
  cells.setColumnWidthsTwips({750, 750, 750, 1500});
  cells.setHeadings({QString(), tableText(245), tableText(246), tableText(247)});
  grdList->setFont(appFont());
}

// The design's widths fit the design's narrower font: a column whose texts
// are wider grows to show them whole, one line a row, and the grid, the
// button beside it and the window grow with it.
void frmAirconNumShow::widenColumnsToTheirTexts() {
  for (int column = 0; column < grdList->columnCount(); ++column) {
    const int designed = grdList->columnWidth(column);
    grdList->resizeColumnToContents(column);
    grdList->setColumnWidth(column, std::max(designed, grdList->columnWidth(column)));
  }
  const QRect designed = twipsRect(kGridLeft, kGridTop, kGridWidth, kGridHeight);
  int needed = 2 * grdList->frameWidth() + grdList->horizontalHeader()->length();
  if (grdList->horizontalHeader()->height() + grdList->verticalHeader()->length() > designed.height()) {
    needed += grdList->verticalScrollBar()->sizeHint().width();
  }
  const int grown = std::max(needed, designed.width()) - designed.width();
  grdList->setGeometry(designed.adjusted(0, 0, grown, 0));
  cmdCancel->setGeometry(twipsRect(kCancelLeft, 1600, 1600, 500).translated(grown, 0));
  clientWidthTwips_ = kClientWidth + pixelsToTwips(grown);
}

void frmAirconNumShow::fillUnitCounts() {
  grdList->setUpdatesEnabled(false);
  showGridHeader();
  const int systems = mapQ7netObj ? mapQ7netObj->systems.count() : 0;
  const int centrals = mapQ7netObj ? mapQ7netObj->systemsCen.count() : 0;
  // Below the heading: one row a system, the sub totals, the total.
  grdList->clearContents();
  grdList->setRowCount(systems + centrals + 2);
  Grid cells(*grdList);
  const auto number = [](int count) { return QString::number(count); };
  const QString system = tableText(kSystemText) + QLatin1Char(' ');
  UnitCounts sums{};
  for (int n = 1; n <= systems + centrals; ++n) {
    const int row = n - 1;
    cells.setText(row, 0, system + number(n));
    if (n <= systems) {
      const auto each = mapQ7netObj->systems.item(number(n));
      const UnitCounts counts{each ? each->airconsOut.count() : 0, each ? each->airconsIn.count() : 0, 0};
      cells.setText(row, 1, number(counts[0]));
      cells.setText(row, 2, number(counts[1]));
      sums[0] += counts[0];
      sums[1] += counts[1];
    } else {
      const auto each = mapQ7netObj->systemsCen.item(number(n - systems));
      const int count = each ? each->airconsCen.count() : 0;
      cells.setText(row, 3, number(count));
      sums[2] += count;
    }
  }
  const int subTotal = systems + centrals;
  cells.setText(subTotal, 0, tableText(kSubTotalText));
  for (std::size_t kind = 0; kind < sums.size(); ++kind) cells.setText(subTotal, static_cast<int>(kind) + 1, number(sums[kind]));
  cells.setText(subTotal + 1, 0, tableText(kTotalText));
  cells.setText(subTotal + 1, 1, number(sums[0] + sums[1] + sums[2]));
  widenColumnsToTheirTexts();
  grdList->setUpdatesEnabled(true);
}
