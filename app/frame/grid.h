// The grid of the program's windows, over a QTableWidget: column widths in
// twips, the whole row selected, and cells filled by the program without the
// signals that the engineer's edits raise.
#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>

class QTableWidget;

class Grid {
 public:
  explicit Grid(QTableWidget& table) : table_(table) {}

  // As many columns as widths, each that wide.
  void setColumnWidthsTwips(std::initializer_list<int> widths);
  // The heading row's texts, aligned left and centred vertically.
  void setHeadings(const QStringList& headings);
  // A click selects its whole row, one row at a time; cells are not edited
  // in place.
  void selectWholeRows();
  // Sets a cell's text (making the cell when it has none) without raising
  // the table's signals; a cell outside the table is refused (false).
  bool setText(int row, int column, const QString& text);
  // "" for an empty cell or one outside the table.
  QString text(int row, int column) const;
  // The row of the current cell, -1 when there is none.
  int selectedRow() const;

 private:
  bool inside(int row, int column) const;

  QTableWidget& table_;
};
