#include "frame/grid.h"

#include "frame/twips.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>

void Grid::setColumnWidthsTwips(std::initializer_list<int> widths) {
  table_.setColumnCount(static_cast<int>(widths.size()));
  int column = 0;
  for (int width : widths) {
    table_.setColumnHidden(column, width == 0);
    table_.setColumnWidth(column++, twipsToPixels(width));
  }
}

void Grid::setHeadings(const QStringList& headings) {
  table_.setHorizontalHeaderLabels(headings);
  table_.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  table_.verticalHeader()->hide();
}

void Grid::selectWholeRows(RowSelection selection) {
  table_.setSelectionBehavior(QAbstractItemView::SelectRows);
  table_.setSelectionMode(selection == RowSelection::One ? QAbstractItemView::SingleSelection
                                                         : QAbstractItemView::ContiguousSelection);
  table_.setEditTriggers(QAbstractItemView::NoEditTriggers);
}

bool Grid::inside(int row, int column) const {
  return row >= 0 && row < table_.rowCount() && column >= 0 && column < table_.columnCount();
}

bool Grid::setText(int row, int column, const QString& text) {
  if (!inside(row, column)) return false;
  const QSignalBlocker quiet(table_);
  QTableWidgetItem* cell = table_.item(row, column);
  if (cell) {
    cell->setText(text);
  } else {
    table_.setItem(row, column, new QTableWidgetItem(text));
  }
  return true;
}

bool Grid::setColours(int row, int column, const QColor& text, const QColor& background) {
  if (!inside(row, column)) return false;
  const QSignalBlocker quiet(table_);
  QTableWidgetItem* cell = table_.item(row, column);
  if (!cell) {
    cell = new QTableWidgetItem;
    table_.setItem(row, column, cell);
  }
  cell->setForeground(text);
  if (background.isValid()) cell->setBackground(background);
  return true;
}

QString Grid::text(int row, int column) const {
  if (!inside(row, column)) return QString();
  const QTableWidgetItem* cell = table_.item(row, column);
  return cell ? cell->text() : QString();
}

int Grid::selectedRow() const { return table_.currentRow(); }

void Grid::selectRow(int row) {
  if (!inside(row, 0)) return;
  int column = 0;
  while (column + 1 < table_.columnCount() && table_.isColumnHidden(column)) ++column;
  table_.setCurrentCell(row, column);
  table_.selectRow(row);
  table_.scrollTo(table_.model()->index(row, column), QAbstractItemView::PositionAtTop);
}

bool Grid::oneRowSelected() const {
  const int current = table_.currentRow();
  for (const QTableWidgetSelectionRange& range : table_.selectedRanges()) {
    if (range.topRow() != current || range.bottomRow() != current) return false;
  }
  return true;
}
