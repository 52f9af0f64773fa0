#include "frame/fit_to_text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionTitleBar>
#include <QTextDocument>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QSize kFits(0, 0);

// Room a frame's title takes beside its text.
constexpr int kFrameTitleRoom = 16;
// Room a dialog's frame keeps beside its title: the window system's
// buttons, as many as a child window's title bar holds.
constexpr int kTitleButtons = 4;

// Containers whose controls the design places itself; any other widget
// (grids, lists, boxes) manages what lies inside it.
bool placesItsControls(const QWidget& widget) {
  if (widget.layout()) return false;
  if (qobject_cast<const QGroupBox*>(&widget)) return true;
  const char* name = widget.metaObject()->className();
  return qstrcmp(name, "QWidget") == 0 || qstrcmp(name, "QFrame") == 0;
}

// The controls placed in `parent`'s design, the nested ones after their
// container.
void collectControls(QWidget& parent, std::vector<QWidget*>& found) {
  for (QObject* child : parent.children()) {
    auto* control = qobject_cast<QWidget*>(child);
    if (!control || control->isWindow()) continue;
    found.push_back(control);
    if (placesItsControls(*control)) collectControls(*control, found);
  }
}

QStringList shownLines(const QString& text) { return shownCaption(text).split(QLatin1Char('\n')); }

int widestLine(const QFontMetrics& metrics, const QStringList& lines) {
  int widest = 0;
  for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
  return widest;
}

bool richText(const QLabel& label) {
  return label.textFormat() == Qt::RichText ||
         (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text()));
}

QString plainText(const QLabel& label) {
  if (!richText(label)) return label.text();
  QTextDocument document;
  document.setHtml(label.text());
  return document.toPlainText();
}

QSize labelShortfall(const QLabel& label) {
  const QString text = plainText(label);
  if (text.isEmpty() || !label.pixmap().isNull()) return kFits;
  const QRect room = label.contentsRect().adjusted(label.margin(), label.margin(), -label.margin(), -label.margin());
  const QFontMetrics metrics = label.fontMetrics();
  if (!label.wordWrap()) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    return {std::max(widestLine(metrics, lines) - room.width(), 0),
            std::max(metrics.height() * static_cast<int>(lines.size()) - room.height(), 0)};
  }
  // Wrapped: each word on a line of its own at the least, and all lines
  // within the height.
  const QStringList words = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
  const int across = std::max(widestLine(metrics, words) - room.width(), 0);
  const QRect lines = metrics.boundingRect(QRect(0, 0, std::max(room.width(), 1), 1 << 20),
                                           Qt::TextWordWrap | int(label.alignment()), text);
  return {across, std::max(lines.height() - room.height(), 0)};
}

QRect buttonTextRoom(const QAbstractButton& button) {
  QStyle* style = button.style();
  if (auto* push = qobject_cast<const QPushButton*>(&button)) {
    QStyleOptionButton option;
    option.initFrom(push);
    option.text = push->text();
    return style->subElementRect(QStyle::SE_PushButtonContents, &option, push);
  }
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = button.text();
  const bool radio = qobject_cast<const QRadioButton*>(&button) != nullptr;
  return style->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, &button);
}

QSize buttonShortfall(const QAbstractButton& button) {
  if (button.text().isEmpty()) return kFits;
  if (!qobject_cast<const QPushButton*>(&button) && !qobject_cast<const QRadioButton*>(&button) &&
      !qobject_cast<const QCheckBox*>(&button)) {
    return kFits;
  }
  const QRect room = buttonTextRoom(button);
  const QFontMetrics metrics = button.fontMetrics();
  const QStringList lines = shownLines(button.text());
  return {std::max(widestLine(metrics, lines) - room.width(), 0),
          std::max(metrics.height() * static_cast<int>(lines.size()) - std::max(room.height(), button.height()), 0)};
}

QSize frameShortfall(const QGroupBox& frame) {
  if (frame.title().isEmpty()) return kFits;
  const int needed = frame.fontMetrics().horizontalAdvance(shownCaption(frame.title())) + kFrameTitleRoom;
  return {std::max(needed - frame.width(), 0), 0};
}

double ratio(int needed, int given) { return given > 0 ? static_cast<double>(needed) / given : 1.0; }

// The factors across and down that give every control its text's room.
QSizeF textScale(const std::vector<QWidget*>& controls) {
  QSizeF scale(1, 1);
  for (const QWidget* control : controls) {
    const QSize shortfall = textShortfall(*control);
    if (shortfall.isNull()) continue;
    scale.setWidth(std::max(scale.width(), ratio(control->width() + shortfall.width(), control->width())));
    scale.setHeight(std::max(scale.height(), ratio(control->height() + shortfall.height(), control->height())));
  }
  return scale;
}

QRect scaled(const QRect& place, QSizeF scale) {
  const int left = static_cast<int>(std::lround(place.x() * scale.width()));
  const int top = static_cast<int>(std::lround(place.y() * scale.height()));
  const int right = static_cast<int>(std::ceil((place.x() + place.width()) * scale.width()));
  const int bottom = static_cast<int>(std::ceil((place.y() + place.height()) * scale.height()));
  return QRect(left, top, right - left, bottom - top);
}

// The extent of the window's own controls with the margin they keep at the
// top left kept at the bottom right too.
QSize controlsExtent(const QWidget& window) {
  QRect all;
  for (QObject* child : window.children()) {
    auto* control = qobject_cast<QWidget*>(child);
    if (control && !control->isWindow()) all = all.united(control->geometry());
  }
  if (all.isEmpty()) return {};
  return QSize(all.right() + 1 + std::max(all.left(), 0), all.bottom() + 1 + std::max(all.top(), 0));
}

// What a window keeps between its loadings: how far its controls were
// scaled so far, and the client size it was last given.
constexpr const char* kTextScale = "pelomarTextScale";
constexpr const char* kTextFitted = "pelomarTextFitted";

QSize times(QSize size, QSizeF scale) {
  return QSize(static_cast<int>(std::ceil(size.width() * scale.width())),
               static_cast<int>(std::ceil(size.height() * scale.height())));
}

}  // namespace

QString shownCaption(const QString& caption) {
  QString shown;
  shown.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

QSize textShortfall(const QWidget& control) {
  if (auto* label = qobject_cast<const QLabel*>(&control)) return labelShortfall(*label);
  if (auto* button = qobject_cast<const QAbstractButton*>(&control)) return buttonShortfall(*button);
  if (auto* frame = qobject_cast<const QGroupBox*>(&control)) return frameShortfall(*frame);
  return kFits;
}

int titleWidthNeeded(const QWidget& window) {
  const QString title = window.windowTitle();
  if (title.isEmpty()) return 0;
  // A child window's title bar is the sub-window's, in its bold title font.
  const QWidget* frame = window.parentWidget() && !window.isWindow() ? window.parentWidget() : &window;
  QFont font = frame->font();
  font.setBold(true);
  const int text = QFontMetrics(font).horizontalAdvance(title);
  QStyleOptionTitleBar option;
  option.initFrom(frame);
  option.text = title;
  option.titleBarFlags = frame->windowFlags() | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
  option.titleBarState = 0;
  const int barHeight = frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, frame);
  const int width = text + kTitleButtons * barHeight * 2;
  option.rect = QRect(0, 0, width, barHeight);
  const QRect label = frame->style()->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarLabel, frame);
  // The room the bar keeps beside its label, plus the text itself.
  const int beside = label.isValid() ? width - label.width() : kTitleButtons * barHeight;
  return text + beside;
}

QRect placeAfterTextFit(const QWidget& window, const QRect& design) {
  const QVariant kept = window.property(kTextScale);
  return kept.isValid() ? scaled(design, kept.toSizeF()) : design;
}

QSize fitControlsToTexts(QWidget& window, int titleWidth) {
  const QSize now = window.size();
  const QVariant keptScale = window.property(kTextScale);
  QSizeF scale = keptScale.isValid() ? keptScale.toSizeF() : QSizeF(1, 1);
  if (window.layout() || now.isEmpty()) return now;
  std::vector<QWidget*> controls;
  collectControls(window, controls);
  const QSizeF grow = textScale(controls);
  const bool sizeKept = now == window.property(kTextFitted).toSize();
  QSize target = now;
  if (grow != QSizeF(1, 1)) {
    for (QWidget* control : controls) control->setGeometry(scaled(control->geometry(), grow));
    scale = sizeKept ? QSizeF(scale.width() * grow.width(), scale.height() * grow.height()) : grow;
    target = times(now, grow);
  } else if (!sizeKept) {
    // The load handler gave the design's size again: the controls still
    // stand as scaled before.
    target = times(now, scale);
  }
  // A longer title only widens the window: its controls keep their places.
  target = target.expandedTo(controlsExtent(window)).expandedTo(QSize(titleWidth, 0));
  window.setProperty(kTextScale, scale);
  window.setProperty(kTextFitted, target);
  return target;
}
