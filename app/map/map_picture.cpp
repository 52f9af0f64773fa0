#include "map/map_picture.h"

#include "frame/control_names.h"
#include "frame/icon_cache.h"
#include "frame/twips.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int kIconPixels = 32;
// Row marks, in the free space of the row's left column.
constexpr int32_t kMarkLeft = 45;
constexpr int32_t kMarkWidth = 1100;
constexpr int32_t kMarkHeight = 210;
constexpr std::array<int32_t, 3> kRecodeMarkTop{290, 1590, 2880};

QRect placeOf(const TwipsBox& box) { return twipsRect(box.left, box.top, box.width, box.height); }

QLineEdit* textBox(QWidget* parent, const TwipsBox& place) {
  auto* box = new QLineEdit(parent);
  box->setGeometry(placeOf(place));
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::NoFocus);  // Tab walks the unit buttons
  box->setFrame(true);
  box->setTextMargins(0, 0, 0, 0);
  QFont small = box->font();
  small.setPointSize(7);
  box->setFont(small);
  return box;
}

void applyVisible(QWidget* widget, const std::optional<bool>& visible) {
  if (visible) widget->setVisible(*visible);
}

void applyBox(QLineEdit* box, const SceneBox& scene) {
  if (scene.text) box->setText(*scene.text);
  applyVisible(box, scene.visible);
}

void applyLine(MapPicture::Line& line, const SceneLine& scene) {
  if (scene.visible) line.visible = *scene.visible;
}

void applyIcon(QToolButton* button, const SceneIcon& scene) {
  if (scene.picture) {
    const std::optional<QIcon> icon = scene.picture->isEmpty() ? std::nullopt : programIcon(*scene.picture);
    button->setIcon(icon.value_or(QIcon()));
  }
  applyVisible(button, scene.visible);
}

// A system name keeps at least its design width but is never cut.
void applyName(QLabel* label, const SceneBox& scene, const TwipsBox& place) {
  if (scene.text) {
    label->setText(*scene.text);
    const QRect designed = placeOf(place);
    label->resize(std::max(designed.width(), label->sizeHint().width()), designed.height() + 4);
  }
  applyVisible(label, scene.visible);
}

}  // namespace

MapPicture::MapPicture(QWidget* parent) : QWidget(parent) {
  markDrawingArea(*this);
  setGeometry(placeOf(kMapAreaPlace));
  const MapPageScene places = mapAreaScene();
  makeUnitControls(places);
  makeRowControls(places);
  apply(hiddenMapScene());
}

void MapPicture::makeUnitControls(const MapPageScene& places) {
  for (std::size_t i = 0; i < places.units.size(); ++i) {
    const MapSlotScene& slot = places.units[i];
    auto* button = new QToolButton(this);
    button->setGeometry(placeOf(slot.cmdAircon.place));
    button->setIconSize(QSize(kIconPixels, kIconPixels));
    button->setFocusPolicy(Qt::StrongFocus);
    button->installEventFilter(this);
    cmdAircon[i] = button;
    txtControlAddress[i] = textBox(this, slot.txtControlAddress.place);
    txtZubrelAddress[i] = textBox(this, slot.txtZubrelAddress.place);
    txtPlace[i] = textBox(this, slot.txtPlace.place);
    linHor[i].place = slot.linHor.place;
  }
  // Tab walks the units in their order.
  for (std::size_t i = 1; i < cmdAircon.size(); ++i) setTabOrder(cmdAircon[i - 1], cmdAircon[i]);
  colourUnits(-1);
}

void MapPicture::makeRowControls(const MapPageScene& places) {
  for (std::size_t r = 0; r < places.rows.size(); ++r) {
    const MapRowScene& row = places.rows[r];
    lblSystemName[r] = new QLabel(this);
    lblSystemName[r]->setGeometry(placeOf(row.lblSystemName.place));
    txtControlAddressTital[r] = textBox(this, row.txtControlAddressTital.place);
    txtZubrelAddressTital[r] = textBox(this, row.txtZubrelAddressTital.place);
    txtPlaceTital[r] = textBox(this, row.txtPlaceTital.place);
    linSystem[r].place = row.linSystem.place;
    const int32_t top = kRecodeMarkTop[r];
    lblRecode[r] = new QLabel(this);
    lblRecode[r]->setGeometry(twipsRect(kMarkLeft, top, kMarkWidth, kMarkHeight));
    lblRecodeTrigger[r] = new QLabel(this);
    lblRecodeTrigger[r]->setGeometry(twipsRect(kMarkLeft, top + kMarkHeight, kMarkWidth, kMarkHeight));
    for (QLabel* mark : {lblRecode[r], lblRecodeTrigger[r]}) {
      mark->setStyleSheet(QStringLiteral("color: #c00000;"));
      mark->hide();
    }
  }
  for (std::size_t s = 0; s < places.linVer1.size(); ++s) {
    linVer1[s].place = places.linVer1[s].place;
    linVer2[s].place = places.linVer2[s].place;
  }
}

void MapPicture::setTitles(const QString& controlAddress, const QString& zubrelAddress, const QString& place) {
  for (std::size_t r = 0; r < lblSystemName.size(); ++r) {
    txtControlAddressTital[r]->setText(controlAddress);
    txtZubrelAddressTital[r]->setText(zubrelAddress);
    txtPlaceTital[r]->setText(place);
  }
}

void MapPicture::apply(const MapPageScene& scene) {
  const MapPageScene places = mapAreaScene();
  for (std::size_t i = 0; i < scene.units.size(); ++i) {
    const MapSlotScene& slot = scene.units[i];
    applyLine(linHor[i], slot.linHor);
    applyIcon(cmdAircon[i], slot.cmdAircon);
    applyBox(txtControlAddress[i], slot.txtControlAddress);
    applyBox(txtZubrelAddress[i], slot.txtZubrelAddress);
    applyBox(txtPlace[i], slot.txtPlace);
  }
  for (std::size_t r = 0; r < scene.rows.size(); ++r) {
    const MapRowScene& row = scene.rows[r];
    applyName(lblSystemName[r], row.lblSystemName, places.rows[r].lblSystemName.place);
    applyBox(txtControlAddressTital[r], row.txtControlAddressTital);
    applyBox(txtZubrelAddressTital[r], row.txtZubrelAddressTital);
    applyBox(txtPlaceTital[r], row.txtPlaceTital);
    applyLine(linSystem[r], row.linSystem);
  }
  for (std::size_t s = 0; s < scene.linVer1.size(); ++s) {
    applyLine(linVer1[s], scene.linVer1[s]);
    applyLine(linVer2[s], scene.linVer2[s]);
  }
  update();
}

void MapPicture::colourUnits(int selected) {
  for (std::size_t i = 0; i < cmdAircon.size(); ++i) {
    const bool chosen = static_cast<int>(i) == selected;
    cmdAircon[i]->setStyleSheet(chosen ? QStringLiteral("QToolButton { background: #00ffff; border: 1px solid #404040; }")
                                       : QStringLiteral("QToolButton { background: white; border: 1px solid #808080; }"));
  }
}

void MapPicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(Qt::black, 1));
  const auto draw = [&painter](const Line& line) {
    if (!line.visible) return;
    painter.drawLine(twipsToPixels(line.place.x1), twipsToPixels(line.place.y1), twipsToPixels(line.place.x2),
                     twipsToPixels(line.place.y2));
  };
  for (const Line& line : linHor) draw(line);
  for (const Line& line : linSystem) draw(line);
  for (const Line& line : linVer1) draw(line);
  for (const Line& line : linVer2) draw(line);
}

bool MapPicture::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    const auto found = std::find(cmdAircon.begin(), cmdAircon.end(), watched);
    if (found != cmdAircon.end()) emit unitFocused(static_cast<int>(found - cmdAircon.begin()));
  }
  return QWidget::eventFilter(watched, event);
}
