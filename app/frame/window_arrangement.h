// Arrangements of the child windows of the main window's MDI area, by the
// arrangement codes of the Window menu.
#pragma once

#include <cstdint>

class QMdiArea;

enum WindowArrangement : int32_t {
  kArrangeCascade = 0,
  kArrangeOneAboveAnother = 1,
  kArrangeSideBySide = 2,
  kArrangeIcons = 3,
};

// Arranges the visible child windows; an unknown code does nothing.
// Cascade is the MDI area's own; tiling lays the windows that are not
// minimized out in full-width rows or full-height columns in the order they
// were created; arranging icons lines the minimized windows up along the
// bottom edge, left to right, row above row when they do not fit.
void arrangeChildWindows(QMdiArea& area, int32_t arrangement);
