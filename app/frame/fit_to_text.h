// Windows of a fixed design grow where the program's font needs more room
// than the design's twips give, so that every text they show is shown whole:
// the captions of labels, buttons and frames, and the window's title. The
// controls' places and sizes scale by one factor across and one down, so
// the design's proportions stay; the design's size is the least a window
// takes, and nothing ever shrinks.
#pragma once

#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>

class QWidget;

// The caption as drawn: a single '&' marks a mnemonic and is not shown.
QString shownCaption(const QString& caption);

// The width and height a control's text needs beyond what the control
// gives it, in pixels (0 when it fits): a single-line text its advance in
// the control's text room, a wrapped label its longest word across and all
// its lines down.
QSize textShortfall(const QWidget& control);

// The width a window's title needs for its title bar to show it whole: a
// child window's sub-window, or a dialog's own frame.
int titleWidthNeeded(const QWidget& window);

// Scales the controls of `window` until every text fits, and answers the
// client size that holds them and the title `titleWidth` pixels wide (a
// longer title only widens the window). The
// window keeps how far its controls were scaled, for its next loading. A
// window that has no fixed design (a layout places its controls) is left
// as it is.
QSize fitControlsToTexts(QWidget& window, int titleWidth);

// Where a control the design places at `design` stands once the window's
// controls were scaled to fit their texts.
QRect placeAfterTextFit(const QWidget& window, const QRect& design);
