// Arrangements of the child windows of the main window's MDI area, by the
// arrangement codes of the Window menu.
#pragma once

#include <QRect>
#include <QSize>

#include <cstdint>

class QMdiArea;
class QMdiSubWindow;

enum WindowArrangement : int32_t {
  kArrangeCascade = 0,
  kArrangeOneAboveAnother = 1,
  kArrangeSideBySide = 2,
  kArrangeIcons = 3,
};

// Arranges the visible child windows; an unknown code does nothing.
// Cascade gives each window the size it had before it was tiled (or keeps
// its size) and steps the origins by a title bar from beside the windows
// left in place, in stacking order, so the window on top stays on top. Tiling lays the windows that are not
// minimized out in rows or columns in the order they were created, in the
// room beside the windows left in place, sharing it, but never smaller than
// what they show:
// windows that do not fit then run past the area, which scrolls. Arranging
// icons lines the minimized windows up along the bottom edge, left to
// right, row above row when they do not fit.
void arrangeChildWindows(QMdiArea& area, int32_t arrangement);

// Leaves a window where it is in every arrangement (the status panel);
// tiling and cascade begin beside it.
void keepOutOfArrangements(QMdiSubWindow& window);

// The outer size that shows all of a window's content: a laid-out form's
// minimum, or a fixed-layout form's controls with the margin they keep at
// the top left kept at the bottom right too, plus frame and title bar.
QSize contentSize(const QMdiSubWindow& window);

// Where a window of `size` goes in `inner` without covering `keepClear`:
// centred when that does not touch it, else centred in the room beside it,
// else in the room below it, else as far from it as the area allows.
QRect placeClearOf(const QRect& inner, const QSize& size, const QRect& keepClear);
