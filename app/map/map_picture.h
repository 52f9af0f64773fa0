// The drawing area of the map window: 24 unit buttons in three rows of
// eight with their three text boxes each, per row the system name, the
// column titles and the recording marks, and the lines that join units to
// their system and systems to the bus. It shows what a page scene of the
// map layout says and draws its lines itself.
#pragma once

#include "map/map_layout.h"

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QToolButton;

class MapPicture : public QWidget {
  Q_OBJECT
 public:
  explicit MapPicture(QWidget* parent);

  // Applies the scene: what it leaves open keeps what the drawing before
  // gave. An icon file that cannot be read leaves its button without a
  // picture; the rest is drawn.
  void apply(const MapPageScene& scene);
  // The selected unit button cyan, the others white.
  void colourUnits(int selected);
  // The row titles' texts.
  void setTitles(const QString& controlAddress, const QString& zubrelAddress, const QString& place);

  struct Line {
    TwipsLine place;
    bool visible = false;
  };

  std::array<QToolButton*, 24> cmdAircon{};
  std::array<QLineEdit*, 24> txtControlAddress{};
  std::array<QLineEdit*, 24> txtZubrelAddress{};
  std::array<QLineEdit*, 24> txtPlace{};
  std::array<Line, 24> linHor;
  std::array<QLabel*, 3> lblSystemName{};
  std::array<QLabel*, 3> lblRecode{};
  std::array<QLabel*, 3> lblRecodeTrigger{};
  std::array<QLineEdit*, 3> txtControlAddressTital{};
  std::array<QLineEdit*, 3> txtZubrelAddressTital{};
  std::array<QLineEdit*, 3> txtPlaceTital{};
  std::array<Line, 3> linSystem;
  std::array<Line, 4> linVer1;
  std::array<Line, 4> linVer2;

 signals:
  // A unit button received the focus (by Tab or by the mouse).
  void unitFocused(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void makeUnitControls(const MapPageScene& places);
  void makeRowControls(const MapPageScene& places);
};
