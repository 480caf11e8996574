// Colours on light and dark themes: the colours the windows give their texts
// stay as they are where they read and are adapted where they do not, and
// the main window's button pictures stand out from the button on either.
#include "admin/core/theme_colours.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>

#include "admin/core/button_icons.h"

namespace orvane::admin {
namespace {

// Palettes built from one window colour; Qt derives light text for a dark
// one and dark text for a light one.
const QPalette kLight(QColor(239, 239, 239));
const QPalette kWhite(QColor(255, 255, 255));
const QPalette kDark(QColor(53, 53, 53));
const QPalette kMid(QColor(80, 80, 80));
const QPalette kBlack(QColor(0, 0, 0));

TEST(ThemeColours, ContrastRatioIsTheWcagRatio) {
  struct Case {
    QColor a, b;
    double ratio;
  };
  const Case cases[] = {
      {Qt::black, Qt::white, 21.0},
      {Qt::white, Qt::black, 21.0},
      {QColor(120, 40, 200), QColor(120, 40, 200), 1.0},
      {QColor(255, 0, 0), Qt::white, 4.0},
      {QColor(0, 128, 0), Qt::white, 5.14},
      {QColor(128, 128, 128), Qt::white, 3.95},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a.name().toStdString() + " on " + c.b.name().toStdString());
    EXPECT_NEAR(contrastRatio(c.a, c.b), c.ratio, 0.01);
  }
}

TEST(ThemeColours, ReadableOnKeepsTheHueAndGoesNoFurtherThanNeeded) {
  struct Case {
    QColor colour, background;
    bool changes;
    bool lighter;
  };
  const Case cases[] = {
      {QColor(255, 0, 0), QColor(53, 53, 53), true, true},
      {QColor(255, 0, 0), QColor(239, 239, 239), true, false},
      {QColor(0, 128, 0), QColor(53, 53, 53), true, true},
      {QColor(0, 128, 0), Qt::white, false, false},
      {QColor(40, 60, 110), QColor(53, 53, 53), true, true},
      {QColor(230, 230, 230), QColor(53, 53, 53), false, false},
      {QColor(200, 120, 20), Qt::white, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.colour.name().toStdString() + " on " + c.background.name().toStdString());
    const QColor result = readableOn(c.colour, c.background, kReadableContrast);
    EXPECT_GE(contrastRatio(result, c.background), kReadableContrast);
    EXPECT_EQ(result != c.colour, c.changes) << result.name().toStdString();
    if (!c.changes) continue;
    EXPECT_LT(contrastRatio(result, c.background), kReadableContrast + 0.1) << "overshot";
    EXPECT_EQ(result.lightness() > c.colour.lightness(), c.lighter);
    EXPECT_NEAR(result.hslHue(), c.colour.hslHue(), 3);
  }
  // Out of reach: the end that reads best on a mid grey, black here.
  EXPECT_EQ(readableOn(QColor(128, 0, 0), QColor(128, 128, 128), 21.0), QColor(0, 0, 0));
}

// The colours the windows are described with, and what becomes of them on
// window backgrounds from white to black: kept exactly where they reach
// their contrast (3:1 for meaning and grey, 4.5:1 for black text), adapted
// only where they do not.
TEST(ThemeColours, ToneKeepsItsColourWhereItReadsAndAdaptsOnlyWhereNot) {
  struct Case {
    const char* theme;
    QPalette palette;
    TextTone tone;
    QColor described;
    bool kept;
  };
  const QColor black(0, 0, 0), grey(128, 128, 128), red(255, 0, 0), green(0, 128, 0);
  const Case cases[] = {
      {"light", kLight, TextTone::Black, black, true},
      {"light", kLight, TextTone::Grey, grey, true},
      {"light", kLight, TextTone::Alarm, red, true},
      {"light", kLight, TextTone::Input, green, true},
      {"white", kWhite, TextTone::Alarm, red, true},
      {"dark", kDark, TextTone::Black, black, false},
      {"dark", kDark, TextTone::Grey, grey, true},
      {"dark", kDark, TextTone::Alarm, red, true},
      {"dark", kDark, TextTone::Input, green, false},
      {"mid grey", kMid, TextTone::Grey, grey, false},
      {"mid grey", kMid, TextTone::Alarm, red, false},
      {"mid grey", kMid, TextTone::Input, green, false},
      {"black", kBlack, TextTone::Black, black, false},
      {"black", kBlack, TextTone::Input, green, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.theme) + ", " + c.described.name().toStdString());
    const QColor window = c.palette.color(QPalette::Window);
    const QColor shown = toneColour(c.tone, c.palette);
    EXPECT_EQ(shown == c.described, c.kept) << shown.name().toStdString();
    EXPECT_GE(contrastRatio(shown, window), toneContrast(c.tone));
    if (c.kept) continue;
    if (c.tone == TextTone::Black) {
      EXPECT_EQ(shown, c.palette.color(QPalette::WindowText)) << "the theme's text";
      continue;
    }
    EXPECT_LT(contrastRatio(shown, window), toneContrast(c.tone) + 0.1) << "no further than needed";
    EXPECT_EQ(shown.hslHue(), c.described.hslHue()) << "red stays red, green green, grey grey";
  }
  EXPECT_EQ(toneContrast(TextTone::Black), kReadableContrast) << "black is plain text";
  EXPECT_EQ(toneContrast(TextTone::Grey), kColourContrast);
  EXPECT_EQ(toneColour(TextTone::Plain, kDark), kDark.color(QPalette::WindowText));
}

// Pixels of the picture, laid on the button, that stand out from it as far
// as graphics must (3:1).
int standingOut(const QIcon& icon, const QColor& button) {
  QImage image(32, 32, QImage::Format_RGB32);
  image.fill(button);
  QPainter(&image).drawPixmap(0, 0, icon.pixmap(32));
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += contrastRatio(image.pixel(x, y), button) >= 3;
  return count;
}

TEST(ButtonIcons, PicturesStandOutFromTheButtonOnEveryTheme) {
  const QPalette previous = QApplication::palette();
  for (const QPalette& palette : {kLight, kDark}) {
    QApplication::setPalette(palette);
    const QColor button = palette.color(QPalette::Button);
    for (int picture = 0; picture < 5; ++picture) {
      SCOPED_TRACE(button.name().toStdString() + ", picture " + std::to_string(picture));
      // The strokes, a good part of a 32-pixel picture.
      EXPECT_GE(standingOut(buttonIcon(static_cast<ButtonPicture>(picture)), button), 100);
    }
  }
  QApplication::setPalette(previous);
}

}  // namespace
}  // namespace orvane::admin
