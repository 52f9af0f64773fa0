#include "display/graph_area.h"

#include "frame/control_names.h"
#include "frame/twips.h"

#include <QMouseEvent>
#include <QPaintEvent>

GraphArea::GraphArea(QWidget* parent, const QColor& background, const QString& shows)
    : QFrame(parent), background_(background) {
  markDrawingArea(*this, shows);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, background);
  setPalette(palette);
  // The level read-out follows the mouse without a button held.
  setMouseTracking(true);
}

int GraphArea::scaleWidth() const { return pixelsToTwips(contentsRect().width()); }

int GraphArea::scaleHeight() const { return pixelsToTwips(contentsRect().height()); }

QPainter& GraphArea::painter() {
  if (!painter_.isActive() && !image_.isNull()) {
    painter_.begin(&image_);
    painter_.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
  }
  return painter_;
}

void GraphArea::endPainting() {
  if (painter_.isActive()) painter_.end();
  update();
}

void GraphArea::clear() {
  const bool painting = painter_.isActive();
  if (painting) painter_.end();
  image_.fill(background_);
  if (painting) painter();
  update();
}

void GraphArea::fitImage() {
  if (painter_.isActive()) painter_.end();
  const QSize inside = contentsRect().size().expandedTo(QSize(1, 1));
  if (image_.size() != inside) image_ = QImage(inside, QImage::Format_RGB32);
  image_.fill(background_);
  update();
}

QPoint GraphArea::insidePixel(int leftTwips, int topTwips) const {
  return contentsRect().topLeft() + QPoint(twipsToPixels(leftTwips), twipsToPixels(topTwips));
}

void GraphArea::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (image_.isNull()) return;
  QPainter screen(this);
  screen.drawImage(contentsRect().topLeft(), image_);
}

void GraphArea::mouseMoveEvent(QMouseEvent* event) {
  emit mouseMovedTo((event->position().y() - contentsRect().top()) * kTwipsPerPixel);
  QFrame::mouseMoveEvent(event);
}
