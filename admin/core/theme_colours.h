// Colours on any desktop theme, light or dark. Windows take their colours
// from the palette. Where a window gives a text a colour of its own (an
// alarm's red, an input's green, the grey and black of a dialog's labels),
// the text shows exactly that colour wherever it stands out from the window,
// as on a light theme; only where it does not is it adapted, again whenever
// the palette changes.
#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace orvane::admin {

// The contrast plain text needs against its background (the WCAG ratio for
// body text), the contrast of coloured and grey text that carries a meaning
// (and of graphics), and that of disabled text.
constexpr double kReadableContrast = 4.5;
constexpr double kColourContrast = 3.0;
constexpr double kDisabledContrast = 3.0;

// The contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// The colour when it reaches the contrast against the background; otherwise
// the same colour mixed with black or white, whichever the background lets
// stand out more, just far enough to reach it.
QColor readableOn(const QColor& colour, const QColor& background, double contrast);

// The mix of two colours: 0 gives `from`, 1 gives `to`.
QColor blend(const QColor& from, const QColor& to, double share);

// Plain is the palette's own text colour. Black is (0, 0, 0), for a label
// that stands beside greyed ones; Grey is (128, 128, 128), for a label or
// reading that is not in use; Alarm is red (255, 0, 0), for failures, alarms
// and the readings of the analog input window; Input is green (0, 128, 0).
enum class TextTone { Plain, Black, Grey, Alarm, Input };

// The contrast the tone needs: Plain and Black are plain text, the others
// carry a meaning in their colour.
double toneContrast(TextTone tone);

// The text colour of the tone on a window of the palette: the tone's own
// colour where it reaches its contrast on the palette's window background;
// otherwise the palette's text colour for Black, and the tone's colour
// lightened (or darkened) just enough for the others.
QColor toneColour(TextTone tone, const QPalette& palette);

// How the window hands the colour to its control: the WindowText colour of
// the control's palette (in every colour group), or a style sheet
// "color: rgb(r, g, b)" ("QGroupBox { color: rgb(r, g, b) }" on a group box,
// so that only its title takes it).
enum class ToneBy { StyleSheet, Palette };

// Gives the widget's text the tone, measured against the theme's palette
// around it, and hands it over anew whenever that palette changes. Plain
// takes the colour away again.
void setTextTone(QWidget& widget, TextTone tone, ToneBy by = ToneBy::StyleSheet);
TextTone textTone(const QWidget& widget);

}  // namespace orvane::admin
