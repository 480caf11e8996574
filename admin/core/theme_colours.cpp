#include "admin/core/theme_colours.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QWidget>
#include <cmath>
#include <optional>

namespace orvane::admin {

namespace {

// Relative luminance, from the sRGB channels made linear.
double luminance(const QColor& colour) {
  auto linear = [](double c) {
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  const QColor rgb = colour.toRgb();
  return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

// The colours the windows are described with, on a light background.
QColor describedColour(TextTone tone) {
  switch (tone) {
    case TextTone::Black:
      return QColor(0, 0, 0);
    case TextTone::Grey:
      return QColor(128, 128, 128);
    case TextTone::Alarm:
      return QColor(255, 0, 0);
    case TextTone::Input:
      return QColor(0, 128, 0);
    case TextTone::Plain:
      break;
  }
  return QColor();
}

const QString kName = QStringLiteral("ToneKeeper");

// Follows the palette around one widget and hands its tone's colour to it.
class ToneKeeper : public QObject {
 public:
  explicit ToneKeeper(QWidget& widget) : QObject(&widget), widget_(widget) {
    setObjectName(kName);
    widget.installEventFilter(this);
  }

  static ToneKeeper* of(const QWidget& widget) {
    return static_cast<ToneKeeper*>(widget.findChild<QObject*>(kName, Qt::FindDirectChildrenOnly));
  }

  TextTone tone() const { return tone_; }
  void set(TextTone tone, ToneBy by) {
    tone_ = tone;
    by_ = by;
    apply();
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::PaletteChange) apply();
    return false;
  }

 private:
  void apply();

  QWidget& widget_;
  TextTone tone_ = TextTone::Plain;
  ToneBy by_ = ToneBy::StyleSheet;
};

// The theme's palette around the widget, where Qt takes the widget's own
// from (which carries the colour handed to it): its parent's, but the
// application's for a widget with a style sheet.
QPalette surroundings(const QWidget& widget, ToneBy by) {
  const QWidget* parent = widget.parentWidget();
  return by == ToneBy::Palette && parent ? parent->palette() : QApplication::palette(&widget);
}

QString styleSheetOf(const QWidget& widget, const std::optional<QColor>& colour) {
  if (!colour) return QString();
  const QString rule = QStringLiteral("color: rgb(%1, %2, %3)")
                           .arg(colour->red())
                           .arg(colour->green())
                           .arg(colour->blue());
  return qobject_cast<const QGroupBox*>(&widget) ? QStringLiteral("QGroupBox { %1 }").arg(rule)
                                                 : rule;
}

void paintPalette(QWidget& widget, const std::optional<QColor>& colour) {
  if (!colour) {
    if (widget.testAttribute(Qt::WA_SetPalette)) widget.setPalette(QPalette());
    return;
  }
  if (widget.testAttribute(Qt::WA_SetPalette) &&
      widget.palette().color(QPalette::Active, QPalette::WindowText) == *colour)
    return;
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, *colour);
  widget.setPalette(palette);
}

void ToneKeeper::apply() {
  std::optional<QColor> colour;
  if (tone_ != TextTone::Plain) colour = toneColour(tone_, surroundings(widget_, by_));
  if (by_ == ToneBy::Palette) {
    paintPalette(widget_, colour);
    return;
  }
  const QString sheet = styleSheetOf(widget_, colour);
  if (widget_.styleSheet() != sheet) widget_.setStyleSheet(sheet);
}

}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor blend(const QColor& from, const QColor& to, double share) {
  const QColor a = from.toRgb();
  const QColor b = to.toRgb();
  auto mix = [share](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * share)); };
  return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

QColor readableOn(const QColor& colour, const QColor& background, double contrast) {
  if (contrastRatio(colour, background) >= contrast) return colour;
  const QColor black(0, 0, 0);
  const QColor white(255, 255, 255);
  const QColor end =
      contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
  // The contrast grows with the share of the end colour: halve the interval
  // until the least share that reaches it is found to a level of 1/256.
  double low = 0.0;
  double high = 1.0;
  for (int step = 0; step < 8; ++step) {
    const double middle = (low + high) / 2;
    (contrastRatio(blend(colour, end, middle), background) >= contrast ? high : low) = middle;
  }
  return blend(colour, end, high);
}

double toneContrast(TextTone tone) {
  return tone == TextTone::Plain || tone == TextTone::Black ? kReadableContrast : kColourContrast;
}

QColor toneColour(TextTone tone, const QPalette& palette) {
  const QColor text = palette.color(QPalette::Active, QPalette::WindowText);
  if (tone == TextTone::Plain) return text;
  const QColor background = palette.color(QPalette::Active, QPalette::Window);
  const QColor described = describedColour(tone);
  if (tone == TextTone::Black)
    return contrastRatio(described, background) >= toneContrast(tone) ? described : text;
  return readableOn(described, background, toneContrast(tone));
}

void setTextTone(QWidget& widget, TextTone tone, ToneBy by) {
  ToneKeeper* keeper = ToneKeeper::of(widget);
  if (!keeper) {
    if (tone == TextTone::Plain) return;
    keeper = new ToneKeeper(widget);
  }
  keeper->set(tone, by);
}

TextTone textTone(const QWidget& widget) {
  const ToneKeeper* keeper = ToneKeeper::of(widget);
  return keeper ? keeper->tone() : TextTone::Plain;
}

}  // namespace orvane::admin
