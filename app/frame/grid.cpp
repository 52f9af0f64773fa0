#include "frame/grid.h"

#include "frame/twips.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>

void Grid::setColumnWidthsTwips(std::initializer_list<int> widths) {
  table_.setColumnCount(static_cast<int>(widths.size()));
  int column = 0;
  for (int width : widths) table_.setColumnWidth(column++, twipsToPixels(width));
}

void Grid::setHeadings(const QStringList& headings) {
  table_.setHorizontalHeaderLabels(headings);
  table_.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void Grid::selectWholeRows() {
  table_.setSelectionBehavior(QAbstractItemView::SelectRows);
  table_.setSelectionMode(QAbstractItemView::SingleSelection);
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

QString Grid::text(int row, int column) const {
  if (!inside(row, column)) return QString();
  const QTableWidgetItem* cell = table_.item(row, column);
  return cell ? cell->text() : QString();
}

int Grid::selectedRow() const { return table_.currentRow(); }
