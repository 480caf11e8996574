#include "admin/core/theme_colours.h"

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

// The colours the windows were designed with, on a light background.
const QColor kAlarmRed(255, 0, 0);
const QColor kInputGreen(0, 128, 0);

const QString kName = QStringLiteral("ToneKeeper");

// Follows the palette of one widget and repaints its text in its tone.
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
  void setTone(TextTone tone) {
    tone_ = tone;
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
};

// The text of the widget in the colour, or in its parent's when none.
void paintText(QWidget& widget, const std::optional<QColor>& colour) {
  if (!colour) {
    if (widget.testAttribute(Qt::WA_SetPalette)) widget.setPalette(QPalette());
    return;
  }
  if (widget.testAttribute(Qt::WA_SetPalette) &&
      widget.palette().color(QPalette::Active, QPalette::WindowText) == *colour)
    return;
  // Disabled text keeps the theme's grey.
  QPalette own;
  own.setColor(QPalette::Active, QPalette::WindowText, *colour);
  own.setColor(QPalette::Inactive, QPalette::WindowText, *colour);
  widget.setPalette(own);
}

void ToneKeeper::apply() {
  const bool plain = tone_ == TextTone::Plain;
  paintText(widget_, plain ? std::nullopt : std::optional(toneColour(tone_, widget_.palette())));
  const QWidget* outside = widget_.parentWidget();
  if (!qobject_cast<QGroupBox*>(&widget_) || !outside) return;
  // Only the title of a group box takes the tone: the controls inside, which
  // would inherit it, keep the text colour of the box's surroundings.
  const QColor around = outside->palette().color(QPalette::Active, QPalette::WindowText);
  for (QWidget* inside : widget_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!of(*inside)) paintText(*inside, plain ? std::nullopt : std::optional(around));
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

QColor toneColour(TextTone tone, const QPalette& palette) {
  const QColor background = palette.color(QPalette::Active, QPalette::Window);
  switch (tone) {
    case TextTone::Alarm:
      return readableOn(kAlarmRed, background, kReadableContrast);
    case TextTone::Input:
      return readableOn(kInputGreen, background, kReadableContrast);
    case TextTone::Plain:
      break;
  }
  return palette.color(QPalette::Active, QPalette::WindowText);
}

void setTextTone(QWidget& widget, TextTone tone) {
  ToneKeeper* keeper = ToneKeeper::of(widget);
  if (!keeper) {
    if (tone == TextTone::Plain) return;
    keeper = new ToneKeeper(widget);
  }
  keeper->setTone(tone);
}

TextTone textTone(const QWidget& widget) {
  const ToneKeeper* keeper = ToneKeeper::of(widget);
  return keeper ? keeper->tone() : TextTone::Plain;
}

}  // namespace orvane::admin
