#include "frame/window_arrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRect>

#include <algorithm>
#include <vector>

namespace {

std::vector<QMdiSubWindow*> shownWindows(QMdiArea& area, bool minimized) {
  std::vector<QMdiSubWindow*> found;
  for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder)) {
    if (window->isVisible() && window->isMinimized() == minimized) found.push_back(window);
  }
  return found;
}

// Cuts `length` into `count` parts whose sizes differ by at most one pixel.
int partStart(int length, int count, int index) { return length * index / count; }

void tile(QMdiArea& area, bool oneAboveAnother) {
  const std::vector<QMdiSubWindow*> windows = shownWindows(area, false);
  const int count = static_cast<int>(windows.size());
  const QRect inner = area.viewport()->rect();
  for (int i = 0; i < count; ++i) {
    QMdiSubWindow* window = windows[static_cast<std::size_t>(i)];
    if (window->isMaximized()) window->showNormal();
    if (oneAboveAnother) {
      const int top = partStart(inner.height(), count, i);
      window->setGeometry(0, top, inner.width(), partStart(inner.height(), count, i + 1) - top);
    } else {
      const int left = partStart(inner.width(), count, i);
      window->setGeometry(left, 0, partStart(inner.width(), count, i + 1) - left, inner.height());
    }
  }
}

void arrangeIcons(QMdiArea& area) {
  const QRect inner = area.viewport()->rect();
  int left = 0;
  int bottom = inner.height();
  int rowHeight = 0;
  for (QMdiSubWindow* window : shownWindows(area, true)) {
    const QSize size = window->size();
    if (left > 0 && left + size.width() > inner.width()) {
      left = 0;
      bottom -= rowHeight;
      rowHeight = 0;
    }
    window->move(left, bottom - size.height());
    left += size.width();
    rowHeight = std::max(rowHeight, size.height());
  }
}

}  // namespace

void arrangeChildWindows(QMdiArea& area, int32_t arrangement) {
  switch (arrangement) {
    case kArrangeCascade: area.cascadeSubWindows(); break;
    case kArrangeOneAboveAnother: tile(area, true); break;
    case kArrangeSideBySide: tile(area, false); break;
    case kArrangeIcons: arrangeIcons(area); break;
    default: break;
  }
}
