// Accessible names for the controls of a window of fixed design: each input
// control (edit box, list, combo box, grid, option group) takes the caption
// the design puts beside it (a label or option on its left in the same row,
// else a label above it, else a unit after it), and a label so used becomes
// its buddy; a grid or list without one is named as its window. Screen
// readers and any tool that reads the screen's structure then find each
// control by what it means. A control that has a name of its own keeps it.
// A drawing area (a widget the program paints itself) is named as a grid
// is: after its caption, else as its window.
#pragma once

#include <QString>

class QWidget;

void nameControlsAfterLabels(QWidget& window);

// Marks a widget the program paints itself as a drawing area, named what it
// shows when that is given (else when its window's controls are named).
void markDrawingArea(QWidget& area, const QString& shows = {});
bool isDrawingArea(const QWidget& widget);
