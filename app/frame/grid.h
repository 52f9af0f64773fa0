// The grid of the program's windows, over a QTableWidget: column widths in
// twips, the whole row selected, and cells filled by the program without the
// signals that the engineer's edits raise.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <initializer_list>

class QTableWidget;

class Grid {
 public:
  explicit Grid(QTableWidget& table) : table_(table) {}

  // As many columns as widths, each that wide; a column of width 0 is
  // hidden.
  void setColumnWidthsTwips(std::initializer_list<int> widths);
  // The fixed heading row above the rows, left-aligned; no heading column.
  void setHeadings(const QStringList& headings);
  // A click selects its whole row; cells are not edited in place. With
  // RowSelection::Range the engineer may extend the selection over several
  // rows (shift and the arrow keys or the mouse), which windows that act on
  // one row refuse.
  enum class RowSelection { One, Range };
  void selectWholeRows(RowSelection selection = RowSelection::One);
  // Sets a cell's text (making the cell when it has none) without raising
  // the table's signals; a cell outside the table is refused (false).
  bool setText(int row, int column, const QString& text);
  // A cell's text colour and, when valid, its background (making the cell
  // when it has none), without raising the table's signals.
  bool setColours(int row, int column, const QColor& text, const QColor& background = QColor());
  // "" for an empty cell or one outside the table.
  QString text(int row, int column) const;
  // The row of the current cell, -1 when there is none.
  int selectedRow() const;
  // Makes the row current, selects it whole and scrolls it to the top.
  void selectRow(int row);
  // True when no row but the current one is selected.
  bool oneRowSelected() const;

 private:
  bool inside(int row, int column) const;

  QTableWidget& table_;
};
