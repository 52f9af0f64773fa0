#include "icon_pictures.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace icons {
namespace {

constexpr int kMapSize = 32;      // the map's unit buttons
constexpr int kAddressSize = 24;  // the address buttons of centralized operation

const QColor kOutline(40, 40, 40);

struct StateColour {
  const char* name;
  QColor fill;
};

// The map's state words are lower case, the address buttons' capitalised.
const StateColour kMapStates[] = {
    {"white", QColor(255, 255, 255)}, {"green", QColor(0, 176, 80)},    {"gray", QColor(150, 150, 150)},
    {"red", QColor(224, 32, 32)},     {"magenta", QColor(224, 0, 224)},
};
const StateColour kAddressStates[] = {
    {"White", QColor(255, 255, 255)},  // state not known yet
    {"Gray", QColor(150, 150, 150)},
    {"Green", QColor(0, 176, 80)},
    {"Red", QColor(224, 32, 32)},
    {"Magenta", QColor(224, 0, 224)},
};
const StateColour kGrounds[] = {
    {"Water", QColor(160, 220, 255)},
    {"White", QColor(255, 255, 255)},
};

using Drawing = std::function<void(QPainter&, const QColor&)>;

QImage draw(int size, const QColor& ground, const QColor& fill, const Drawing& drawing) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(ground);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kOutline, 1.5));
  drawing(painter, fill);
  return image;
}

// A cabinet with a round fan guard on the left and fins on the right.
void outdoorUnit(QPainter& p, const QColor& fill) {
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(2.5, 6.5, 27, 20), 2, 2);
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(11.5, 16.5), 6.5, 6.5);
  p.drawLine(QPointF(11.5, 11), QPointF(11.5, 22));
  p.drawLine(QPointF(6, 16.5), QPointF(17, 16.5));
  for (double x = 21.5; x < 28; x += 2.5) p.drawLine(QPointF(x, 10), QPointF(x, 23));
  p.drawLine(QPointF(6, 26.5), QPointF(6, 29.5));
  p.drawLine(QPointF(26, 26.5), QPointF(26, 29.5));
}

// A wall unit: a flat body with its air outlet and louvre along the bottom.
void indoorUnit(QPainter& p, const QColor& fill) {
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(2.5, 9.5, 27, 13), 4, 4);
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(6, 18.5), QPointF(26, 18.5));
  for (double x = 9; x < 25; x += 5) p.drawLine(QPointF(x, 25), QPointF(x - 2, 28.5));
}

// A central controller: a panel with its screen and four keys.
void centralUnit(QPainter& p, const QColor& fill) {
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(5.5, 2.5, 21, 27), 2, 2);
  p.setBrush(QColor(30, 60, 90));
  p.drawRect(QRectF(9.5, 6.5, 13, 8));
  p.setBrush(Qt::white);
  for (int k = 0; k < 4; ++k) p.drawRect(QRectF(9.5 + (k % 2) * 8, 18.5 + (k / 2) * 5, 5, 3));
}

// A probe thermometer with its cable.
void sensor(QPainter& p, const QColor&) {
  QPainterPath tube;
  tube.addRoundedRect(QRectF(13.5, 3.5, 6, 19), 3, 3);
  p.setBrush(Qt::white);
  p.drawPath(tube);
  p.setBrush(QColor(224, 32, 32));
  p.drawEllipse(QPointF(16.5, 24.5), 5, 5);
  p.drawRect(QRectF(15.5, 10.5, 2, 11));
  p.setBrush(Qt::NoBrush);
  for (double y = 7; y < 20; y += 3) p.drawLine(QPointF(19.5, y), QPointF(22, y));
}

// An indoor unit seen from below (a ceiling cassette) on the button's ground.
void addressUnit(QPainter& p, const QColor& fill) {
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 3, 3);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(8.5, 8.5, 7, 7));
}

void addUnitStates(std::vector<IconFile>& files, const char* prefix, const Drawing& drawing) {
  for (const StateColour& state : kMapStates) {
    files.push_back({QStringLiteral("%1_%2.ico").arg(QLatin1String(prefix), QLatin1String(state.name)),
                     draw(kMapSize, Qt::white, state.fill, drawing)});
  }
}

}  // namespace

std::vector<IconFile> programIcons() {
  std::vector<IconFile> files;
  addUnitStates(files, "OU", outdoorUnit);
  addUnitStates(files, "IU", indoorUnit);
  addUnitStates(files, "CU", centralUnit);
  files.push_back({QStringLiteral("Sensor.ico"), draw(kMapSize, Qt::white, Qt::white, sensor)});
  for (const StateColour& state : kAddressStates) {
    for (const StateColour& ground : kGrounds) {
      files.push_back({QStringLiteral("KX_%1_%2.ico").arg(QLatin1String(state.name), QLatin1String(ground.name)),
                       draw(kAddressSize, ground.fill, state.fill, addressUnit)});
    }
  }
  return files;
}

}  // namespace icons
