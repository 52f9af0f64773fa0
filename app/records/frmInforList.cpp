#include "records/frmInforList.h"

#include <QPushButton>
#include <QTableWidget>

#include "frame/common_routines.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/grid.h"
#include "frame/main_window.h"
#include "frame/texts/text_table.h"
#include "frame/window_controls.h"
#include "frame/map_title.h"
#include "map/unit_information_map.h"
#include "records/unit_links.h"

namespace {

constexpr int kTitleText = 206;
constexpr int kStatusText = 392;

const MapQ7net* shownMap() { return unitInformationShownMap(); }

}  // namespace

frmInforList::frmInforList() {
  setWindowTitle(QStringLiteral("Detail Data List Display"));
  grdList = placeControl<QTableWidget>(this, QRect(60, 60, 4720, 4000));
  cmdCopy = placeControl<QPushButton>(this, QRect(4920, 60, 1400, 495), QStringLiteral("Copy (F1)"));
  cmdCancel = placeControl<QPushButton>(this, QRect(4920, 3565, 1400, 495), QStringLiteral("Cancel (Esc)"));
  // Several rows can be chosen, and Copy refuses them.
  Grid(*grdList).selectWholeRows(Grid::RowSelection::Range);
  keys_.add(Qt::Key_F1, cmdCopy, this, &frmInforList::copy);
  keys_.add(Qt::Key_Escape, cmdCancel, this, [this] { cancel(); });
  keys_.previewKeysOf(*this);
  setFocusProxy(grdList);
}

void frmInforList::onLoad() {
  centreClientInMainWindowTwips(kClientWidth, kClientHeight);
  Grid grid(*grdList);
  grid.setColumnWidthsTwips({0, 1200, 1000, 1160, 1000});
  grid.setHeadings({QString(), tableText(208), tableText(209), tableText(210), tableText(211)});
  if (SelectDataRow == 0) SelectDataRow = 1;
  showInforList();
  setControlCaptions();
  setFormCaption();
}

void frmInforList::onActivate() { setMainStatusText(tableText(kStatusText)); }

void frmInforList::setFormCaption() {
  if (const MapQ7net* map = shownMap()) setWindowTitle(mapWindowTitle(tableText(kTitleText), *map));
}

void frmInforList::setControlCaptions() {
  applyTableCaptions(*this, kTitleText, {{cmdCopy, 207}, {cmdCancel, 17}});
  if (captionsFromTable()) useAppFont({grdList});
}

// Grid row r (from 1) is the table's row r - 1 under the heading row.
void frmInforList::showInforList() {
  grdList->setUpdatesEnabled(false);
  const MapQ7net* map = shownMap();
  grdList->setRowCount(map ? map->linkAircons.count() : 0);
  Grid grid(*grdList);
  int row = 0;
  if (map) {
    for (const auto& link : map->linkAircons) {
      grid.setText(row, 1, link->place);
      grid.setText(row, 2, link->serialNumber);
      grid.setText(row, 3, link->kind);
      grid.setText(row, 4, unitAddressToText(link->controlAddress));
      ++row;
    }
  }
  selectDataFromList();
  grdList->setUpdatesEnabled(true);
}

void frmInforList::selectDataFromList() { Grid(*grdList).selectRow(SelectDataRow - 1); }

void frmInforList::setSelectDataRowFromLinkNo(int32_t linkNo) {
  const MapQ7net* map = shownMap();
  const int position = map ? linkPosition(*map, linkNo) : 0;
  SelectDataRow = position > 0 ? position : 1;
}

int32_t frmInforList::getLinkNoFromSelectDataRow() const {
  const MapQ7net* map = shownMap();
  if (!map) return 0;
  const auto link = map->linkAircons.item(SelectDataRow);
  if (link && link->linkNo != 0) return link->linkNo;
  const auto first = map->linkAircons.item(1);
  return first ? first->linkNo : 0;
}

void frmInforList::copy() {
  if (!Grid(*grdList).oneRowSelected()) {
    showMessage(QStringLiteral("11-1"), QString(), tableText(450), QString());
    grdList->setFocus();
    return;
  }
  SelectDataRow = grdList->currentRow() + 1;
  const int32_t linkNo = getLinkNoFromSelectDataRow();
  const MapQ7net* map = shownMap();
  if (map && linkPosition(*map, linkNo) > 0) emit recordCopied(linkNo);
  showForm();
  grdList->setFocus();
}
