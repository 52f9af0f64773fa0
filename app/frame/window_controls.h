// Controls of the program's windows as their design gives them: made at a
// place in twips, and their design captions replaced from the text table
// when a language file is in force.
#pragma once

#include "frame/twips.h"

#include <QString>
#include <QWidget>

#include <initializer_list>
#include <utility>

// A control of the window, at (left, top, width, height) twips.
template <class Control, class... Arguments>
Control* placeControl(QWidget* window, QRect twips, Arguments&&... arguments) {
  auto* control = new Control(std::forward<Arguments>(arguments)..., window);
  control->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
  return control;
}

// A label, button or frame and the text-table entry of its caption.
struct TableCaption {
  QWidget* control;
  int entry;
};

// Only while a language file is in force: the window's caption and each
// control's take their entries, and the controls take the shared font.
void applyTableCaptions(QWidget& window, int titleEntry, std::initializer_list<TableCaption> captions);
// The controls take the shared font (the program's own choice of font).
void useAppFont(std::initializer_list<QWidget*> controls);
