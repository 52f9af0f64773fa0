#include "frame/window_arrangement.h"

#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace {

// Set on windows the arrangements leave alone.
constexpr const char* kFixedPlace = "pelomarFixedPlace";
// The size a window had before it was first tiled, given back by cascade.
constexpr const char* kOwnSize = "pelomarOwnSize";

std::vector<QMdiSubWindow*> arrangedWindows(QMdiArea& area, bool minimized,
                                            QMdiArea::WindowOrder order = QMdiArea::CreationOrder) {
  std::vector<QMdiSubWindow*> found;
  for (QMdiSubWindow* window : area.subWindowList(order)) {
    if (window->property(kFixedPlace).toBool()) continue;
    if (window->isVisible() && window->isMinimized() == minimized) found.push_back(window);
  }
  return found;
}

void rememberOwnSize(QMdiSubWindow& window) {
  if (!window.property(kOwnSize).isValid()) window.setProperty(kOwnSize, window.size());
}

QSize takeOwnSize(QMdiSubWindow& window) {
  const QVariant own = window.property(kOwnSize);
  window.setProperty(kOwnSize, QVariant());
  return own.isValid() ? own.toSize() : window.size();
}

// Where tiling and cascade begin: beside the windows that keep their place
// (the status panel down the left edge).
int besideFixedWindows(QMdiArea& area) {
  int start = 0;
  for (QMdiSubWindow* window : area.subWindowList()) {
    if (!window->isVisible() || !window->property(kFixedPlace).toBool()) continue;
    start = std::max(start, window->geometry().right() + 1);
  }
  return start;
}

// The windows follow one another through the room beside the windows that
// keep their place, each taking an equal share of what the windows before
// it left, or what it shows when that is more; windows that no longer fit
// run past the area, which then scrolls.
void tile(QMdiArea& area, bool oneAboveAnother) {
  const std::vector<QMdiSubWindow*> windows = arrangedWindows(area, false);
  const QSize viewport = area.viewport()->size();
  const int left = besideFixedWindows(area);
  const QSize room(std::max(viewport.width() - left, 0), viewport.height());
  const int length = oneAboveAnother ? room.height() : room.width();
  int used = 0;
  for (std::size_t i = 0; i < windows.size(); ++i) {
    QMdiSubWindow* window = windows[i];
    if (window->isMaximized()) window->showNormal();
    rememberOwnSize(*window);
    const QSize least = contentSize(*window);
    const int share = (length - used) / static_cast<int>(windows.size() - i);
    if (oneAboveAnother) {
      const QSize size(std::max(room.width(), least.width()), std::max(share, least.height()));
      window->setGeometry(QRect(QPoint(left, used), size));
      used += size.height();
    } else {
      const QSize size(std::max(share, least.width()), std::max(room.height(), least.height()));
      window->setGeometry(QRect(QPoint(left + used, 0), size));
      used += size.width();
    }
  }
}

void cascade(QMdiArea& area) {
  const int step = area.style()->pixelMetric(QStyle::PM_TitleBarHeight) +
                   area.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
  // Beside the windows left in place; windows that run past the area are
  // scrolled to.
  QPoint origin(besideFixedWindows(area), 0);
  for (QMdiSubWindow* window : arrangedWindows(area, false, QMdiArea::StackingOrder)) {
    if (window->isMaximized()) window->showNormal();
    window->setGeometry(QRect(origin, takeOwnSize(*window)));
    origin += QPoint(step, step);
  }
}

void arrangeIcons(QMdiArea& area) {
  const QRect inner = area.viewport()->rect();
  int left = 0;
  int bottom = inner.height();
  int rowHeight = 0;
  for (QMdiSubWindow* window : arrangedWindows(area, true)) {
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

QRect centredIn(const QRect& room, const QSize& size) {
  return QRect(QPoint(room.left() + (room.width() - size.width()) / 2, room.top() + (room.height() - size.height()) / 2),
               size);
}

bool holds(const QRect& room, const QSize& size) {
  return room.width() >= size.width() && room.height() >= size.height();
}

}  // namespace

void arrangeChildWindows(QMdiArea& area, int32_t arrangement) {
  switch (arrangement) {
    case kArrangeCascade: cascade(area); break;
    case kArrangeOneAboveAnother: tile(area, true); break;
    case kArrangeSideBySide: tile(area, false); break;
    case kArrangeIcons: arrangeIcons(area); break;
    default: break;
  }
}

void keepOutOfArrangements(QMdiSubWindow& window) { window.setProperty(kFixedPlace, true); }

QSize contentSize(const QMdiSubWindow& window) {
  const QWidget* form = window.widget();
  if (!form) return window.minimumSizeHint();
  QSize inner = form->minimumSizeHint().expandedTo(QSize(0, 0));
  if (!form->layout()) {
    const QRect controls = form->childrenRect();
    if (!controls.isEmpty()) {
      inner = inner.expandedTo(
          QSize(controls.right() + 1 + std::max(controls.left(), 0), controls.bottom() + 1 + std::max(controls.top(), 0)));
    }
  }
  const QSize frame = window.size() - form->size();
  return (inner + frame).expandedTo(window.minimumSizeHint());
}

QRect placeClearOf(const QRect& inner, const QSize& size, const QRect& keepClear) {
  const QRect centred = centredIn(inner, size);
  if (keepClear.isEmpty() || !centred.intersects(keepClear)) return centred;
  const QRect beside(keepClear.right() + 1, inner.top(), inner.right() - keepClear.right(), inner.height());
  if (holds(beside, size)) return centredIn(beside, size);
  const QRect below(inner.left(), keepClear.bottom() + 1, inner.width(), inner.bottom() - keepClear.bottom());
  if (holds(below, size)) return centredIn(below, size);
  // As far from it as the area allows.
  return QRect(QPoint(std::max(inner.left(), inner.right() + 1 - size.width()),
                      std::max(inner.top(), inner.bottom() + 1 - size.height())),
               size);
}
