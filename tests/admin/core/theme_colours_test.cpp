// Colours on light and dark themes: meaning colours stay red and green and
// readable, text tones follow the palette when it changes, and the main
// window's button pictures stand out from the button on either.
#include "admin/core/theme_colours.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "admin/core/button_icons.h"

namespace orvane::admin {
namespace {

// Palettes built from one window colour; Qt derives light text for a dark
// one and dark text for a light one.
const QPalette kLight(QColor(239, 239, 239));
const QPalette kWhite(QColor(255, 255, 255));
const QPalette kDark(QColor(53, 53, 53));
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

TEST(ThemeColours, ToneColoursAreRedAndGreenAndReadableOnEveryTheme) {
  for (const QPalette& palette : {kLight, kWhite, kDark, kBlack}) {
    const QColor window = palette.color(QPalette::Window);
    SCOPED_TRACE(window.name().toStdString());
    const QColor alarm = toneColour(TextTone::Alarm, palette);
    const QColor input = toneColour(TextTone::Input, palette);
    EXPECT_GE(contrastRatio(alarm, window), kReadableContrast);
    EXPECT_GE(contrastRatio(input, window), kReadableContrast);
    EXPECT_TRUE(alarm.hslHue() == 0 && alarm.red() > alarm.green() + 60) << "red";
    EXPECT_TRUE(input.hslHue() == 120 && input.green() > input.red() + 60) << "green";
    EXPECT_EQ(toneColour(TextTone::Plain, palette), palette.color(QPalette::WindowText));
  }
  EXPECT_EQ(toneColour(TextTone::Input, kWhite), QColor(0, 128, 0)) << "the window's own green";
}

class TextToneTest : public ::testing::Test {
 protected:
  TextToneTest() {
    window_.setPalette(kLight);
    auto* layout = new QVBoxLayout(&window_);
    label_ = new QLabel(QStringLiteral("*error*"), &window_);
    frame_ = new QGroupBox(QStringLiteral("Port A (input)"), &window_);
    inside_ = new QLabel(QStringLiteral("0"), frame_);
    (new QVBoxLayout(frame_))->addWidget(inside_);
    layout->addWidget(label_);
    layout->addWidget(frame_);
    window_.show();
  }

  QColor text(QWidget& widget, QPalette::ColorGroup group = QPalette::Active) {
    widget.ensurePolished();
    return widget.palette().color(group, QPalette::WindowText);
  }

  QWidget window_;
  QLabel* label_;
  QGroupBox* frame_;
  QLabel* inside_;
};

TEST_F(TextToneTest, ToneFollowsThePaletteAndPlainGivesTheThemeBack) {
  setTextTone(*label_, TextTone::Alarm);
  EXPECT_EQ(textTone(*label_), TextTone::Alarm);
  EXPECT_EQ(text(*label_), toneColour(TextTone::Alarm, kLight));

  window_.setPalette(kDark);
  EXPECT_EQ(text(*label_), toneColour(TextTone::Alarm, kDark)) << "follows a change of theme";
  label_->setEnabled(false);
  EXPECT_EQ(text(*label_, QPalette::Disabled),
            kDark.color(QPalette::Disabled, QPalette::WindowText))
      << "disabled text keeps the theme's grey";
  label_->setEnabled(true);

  setTextTone(*label_, TextTone::Plain);
  EXPECT_EQ(text(*label_), kDark.color(QPalette::WindowText));
  window_.setPalette(kLight);
  EXPECT_EQ(text(*label_), kLight.color(QPalette::WindowText)) << "plain inherits again";
}

TEST_F(TextToneTest, GroupBoxTakesTheToneForItsTitleOnly) {
  setTextTone(*frame_, TextTone::Input);
  EXPECT_EQ(text(*frame_), toneColour(TextTone::Input, kLight));
  EXPECT_EQ(text(*inside_), kLight.color(QPalette::WindowText));

  window_.setPalette(kDark);
  EXPECT_EQ(text(*frame_), toneColour(TextTone::Input, kDark));
  EXPECT_EQ(text(*inside_), kDark.color(QPalette::WindowText));

  setTextTone(*frame_, TextTone::Plain);
  EXPECT_EQ(text(*frame_), kDark.color(QPalette::WindowText));
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
