#include "display/painted_graph_canvas.h"

#include "display/bgr_colour.h"
#include "display/data_show_layout.h"
#include "display/graph_area.h"
#include "frame/twips.h"

#include <QLabel>

#include <cmath>
#include <cstddef>

namespace {

void showNumber(QLabel& label, int32_t number, QPoint at) {
  label.setText(QString::number(number));
  label.adjustSize();
  label.move(at);
  label.show();
}

}  // namespace

PaintedGraphCanvas::PaintedGraphCanvas(const GraphAreaParts& parts) : parts_(parts) {}

void PaintedGraphCanvas::setScaleOptions(int32_t subLineOption, bool readOutShown) {
  subLineOption_ = subLineOption;
  readOutShown_ = readOutShown;
}

void PaintedGraphCanvas::finish() {
  for (GraphArea* area : {parts_.analog, parts_.digital, parts_.scale}) area->endPainting();
}

void PaintedGraphCanvas::clearAnalog() {
  parts_.analog->clear();
  for (QLabel* legend : parts_.legends) legend->hide();
}

void PaintedGraphCanvas::clearDigital() {
  parts_.digital->clear();
  for (QLabel* label : parts_.laneLabels) label->hide();
}

void PaintedGraphCanvas::drawScales() {
  drawSubLines();
  drawVerticalScale();
  parts_.readOut->setVisible(readOutShown_);
}

void PaintedGraphCanvas::drawSubLines() {
  const std::vector<int32_t> ys = subLineYs(parts_.analog->scaleHeight(), subLineOption_);
  if (ys.empty()) return;
  QPainter& painter = parts_.analog->painter();
  const QPen before = painter.pen();
  painter.setPen(QPen(parts_.analog->palette().color(QPalette::Button), 0, Qt::DotLine));
  for (const int32_t y : ys) painter.drawLine(0, y, dataShowDesign::kSubLineRight, y);
  painter.setPen(before);
}

void PaintedGraphCanvas::drawVerticalScale() {
  GraphArea& strip = *parts_.scale;
  strip.clear();
  const VerticalScale scale = placeScaleLabels();
  QPainter& painter = strip.painter();
  painter.setPen(QPen(strip.palette().color(QPalette::Mid), 0));
  for (const ScaleTick& tick : scale.ticks) painter.drawLine(0, tick.y, tick.length, tick.y);
}

VerticalScale PaintedGraphCanvas::placeScaleLabels() {
  const GraphArea& strip = *parts_.scale;
  const int labelHeight = pixelsToTwips(parts_.scaleLabels[0]->sizeHint().height());
  const VerticalScale scale = verticalScale(strip.scaleHeight(), labelHeight);
  for (std::size_t i = 0; i < scale.labels.size() && i < parts_.scaleLabels.size(); ++i) {
    QLabel& label = *parts_.scaleLabels[i];
    label.move(strip.insidePixel(dataShowDesign::kScaleLabelLeft, static_cast<int>(std::lround(scale.labels[i].top))));
  }
  return scale;
}

QPainter& PaintedGraphCanvas::analogPen(uint32_t colour) {
  QPainter& painter = parts_.analog->painter();
  const QColor wanted = colourOfBgr(colour);
  if (painter.pen().color() != wanted || painter.pen().style() != Qt::SolidLine) painter.setPen(QPen(wanted, 0));
  return painter;
}

void PaintedGraphCanvas::stroke(TwipsXY from, TwipsXY to, uint32_t colour) {
  QPainter& painter = analogPen(colour);
  painter.drawLine(from.x, from.y, to.x, to.y);
}

void PaintedGraphCanvas::point(TwipsXY at, uint32_t colour) {
  QPainter& painter = analogPen(colour);
  painter.drawPoint(at.x, at.y);
}

void PaintedGraphCanvas::box(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) {
  // Both corners belong to the box, as a filled box of the design covers
  // its end pixels.
  parts_.digital->painter().fillRect(QRect(left, top, right - left + kTwipsPerPixel, bottom - top + kTwipsPerPixel),
                                     colourOfBgr(colour));
}

void PaintedGraphCanvas::showLegend(int32_t pen, int32_t listNumber, int32_t left, int32_t top) {
  showNumber(*parts_.legends[static_cast<std::size_t>(pen)], listNumber, parts_.analog->insidePixel(left, top));
}

void PaintedGraphCanvas::showLaneLabel(int32_t lane, int32_t listNumber) {
  QLabel& label = *parts_.laneLabels[static_cast<std::size_t>(lane)];
  showNumber(label, listNumber, label.pos());
}
