// Colours on any desktop theme, light or dark. Windows take their colours
// from the palette; where a colour carries a meaning (an alarm's red, an
// input's green) the window names the meaning and gets the colour that reads
// on the background it stands on, again whenever the palette changes.
#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace orvane::admin {

// The contrast text needs against its background (the WCAG ratio for body
// text), and the contrast of disabled text.
constexpr double kReadableContrast = 4.5;
constexpr double kDisabledContrast = 3.0;

// The contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// The colour when it reaches the contrast against the background; otherwise
// the same colour mixed with black or white, whichever the background lets
// stand out more, just far enough to reach it.
QColor readableOn(const QColor& colour, const QColor& background, double contrast);

// The mix of two colours: 0 gives `from`, 1 gives `to`.
QColor blend(const QColor& from, const QColor& to, double share);

// Plain is the palette's own text colour; Alarm is red (failures, alarms, the
// readings of the analog input window), Input green.
enum class TextTone { Plain, Alarm, Input };

// The text colour of the tone on the palette's window background.
QColor toneColour(TextTone tone, const QPalette& palette);

// Gives the widget's text (a label's, a group box's title) the tone, and
// keeps it readable when the palette changes.
void setTextTone(QWidget& widget, TextTone tone);
TextTone textTone(const QWidget& widget);

}  // namespace orvane::admin
