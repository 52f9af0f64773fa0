#include "frame/control_names.h"

#include "frame/fit_to_text.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>

#include <limits>
#include <optional>

namespace {

// Pixels a label may reach into its control's row or column and still be
// beside it.
constexpr int kOverlap = 4;

constexpr char kDrawingAreaProperty[] = "drawingArea";

bool optionGroup(const QWidget& widget) {
  const auto* frame = qobject_cast<const QGroupBox*>(&widget);
  return frame && frame->title().isEmpty() && !frame->findChildren<QRadioButton*>().isEmpty();
}

bool needsName(const QWidget& widget) {
  if (!widget.accessibleName().isEmpty()) return false;
  // A combo box's own edit box and a grid's headers are named with them.
  if (qobject_cast<const QComboBox*>(widget.parentWidget()) || qobject_cast<const QHeaderView*>(&widget)) return false;
  return qobject_cast<const QLineEdit*>(&widget) || qobject_cast<const QComboBox*>(&widget) ||
         qobject_cast<const QAbstractSpinBox*>(&widget) || qobject_cast<const QAbstractItemView*>(&widget) ||
         qobject_cast<const QTextEdit*>(&widget) || qobject_cast<const QPlainTextEdit*>(&widget) ||
         optionGroup(widget) || isDrawingArea(widget);
}

QString caption(const QWidget& captioned) {
  if (auto* label = qobject_cast<const QLabel*>(&captioned)) return shownCaption(label->text()).simplified();
  if (auto* button = qobject_cast<const QAbstractButton*>(&captioned)) return shownCaption(button->text()).simplified();
  return {};
}

// A label, or the option or check box a box belongs to.
bool captions(const QWidget& widget) {
  return qobject_cast<const QLabel*>(&widget) || qobject_cast<const QRadioButton*>(&widget) ||
         qobject_cast<const QCheckBox*>(&widget);
}

QRect placeIn(const QWidget& window, const QWidget& widget) {
  return QRect(widget.mapTo(&window, QPoint(0, 0)), widget.size());
}

// How far the caption stands from the control: on its left in the same row
// first, else above it, else on its right; none when it is neither.
std::optional<int> distance(const QRect& caption, const QRect& control) {
  const bool sameRow = caption.top() < control.bottom() && caption.bottom() > control.top();
  if (sameRow && caption.right() <= control.left() + kOverlap) return control.left() - caption.right();
  const bool sameColumn = caption.left() < control.right() && caption.right() > control.left();
  if (sameColumn && caption.bottom() <= control.top() + kOverlap) return (control.top() - caption.bottom()) + (1 << 16);
  // A unit after the box ("min.") names it where nothing stands before it.
  if (sameRow && caption.left() >= control.right() - kOverlap) return (caption.left() - control.right()) + (2 << 16);
  return std::nullopt;
}

QWidget* captionBeside(QWidget& window, const QWidget& control) {
  const QRect place = placeIn(window, control);
  QWidget* nearest = nullptr;
  int best = std::numeric_limits<int>::max();
  for (QWidget* candidate : window.findChildren<QWidget*>()) {
    if (!captions(*candidate) || caption(*candidate).isEmpty()) continue;
    const std::optional<int> away = distance(placeIn(window, *candidate), place);
    if (away && *away < best) {
      best = *away;
      nearest = candidate;
    }
  }
  return nearest;
}

}  // namespace

void nameControlsAfterLabels(QWidget& window) {
  for (QWidget* control : window.findChildren<QWidget*>()) {
    if (!needsName(*control)) continue;
    QWidget* captioned = captionBeside(window, *control);
    // A grid, list or drawing area without a caption of its own shows what
    // its window is named after.
    if (!captioned) {
      if (qobject_cast<QAbstractItemView*>(control) || isDrawingArea(*control)) {
        control->setAccessibleName(window.windowTitle());
      }
      continue;
    }
    control->setAccessibleName(caption(*captioned));
    auto* label = qobject_cast<QLabel*>(captioned);
    if (label && !label->buddy()) label->setBuddy(control);
  }
}

void markDrawingArea(QWidget& area, const QString& shows) {
  area.setProperty(kDrawingAreaProperty, true);
  if (!shows.isEmpty()) area.setAccessibleName(shows);
}

bool isDrawingArea(const QWidget& widget) { return widget.property(kDrawingAreaProperty).toBool(); }
