// A drawing area of the display window (the analog and digital graphs, the
// vertical scale). What is drawn stays in a backing image the size of the
// area's inside, so the area repaints, prints and survives being covered
// without drawing again; drawing goes through a painter scaled to twips, so
// the graphs' arithmetic stays in the design's units.
#pragma once

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QPainter>

class GraphArea : public QFrame {
  Q_OBJECT
 public:
  // `shows` names the area for screen readers.
  GraphArea(QWidget* parent, const QColor& background, const QString& shows);

  // The inside in twips (the area's scale width and height).
  int scaleWidth() const;
  int scaleHeight() const;
  // A painter on the backing image, its coordinates in twips from the
  // inside's top left corner; it stays open until endPainting.
  QPainter& painter();
  // Ends the drawing and shows it.
  void endPainting();
  // Fills the backing image with the background.
  void clear();
  // Sizes the backing image to the inside, cleared; a drawing under way ends.
  void fitImage();
  const QImage& image() const { return image_; }
  QImage& image() { return image_; }
  // A point of the inside in pixels, from a position in twips.
  QPoint insidePixel(int leftTwips, int topTwips) const;

 signals:
  // The mouse moved over the area, y in twips from the inside's top.
  void mouseMovedTo(double yTwips);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QColor background_;
  QImage image_;
  QPainter painter_;
};
