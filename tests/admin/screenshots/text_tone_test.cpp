// Text tones through a change of desktop theme: on the light theme a text
// shows exactly the colour the window gives it, by the same means (style
// sheet or palette); on a dark one, only where that colour does not read, an
// adapted one; back on the light theme the exact colour again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "admin/core/theme_colours.h"
#include "admin/screenshots/look.h"

namespace orvane::admin {
namespace {

// What the window hands the text: the style sheet, or the palette's colour.
std::string handed(const QWidget& widget, ToneBy by) {
  if (by == ToneBy::StyleSheet) return widget.styleSheet().toStdString();
  if (!widget.testAttribute(Qt::WA_SetPalette)) return "";
  const QPalette& palette = widget.palette();
  return (palette.color(QPalette::Disabled, QPalette::WindowText).name() + " " +
          palette.color(QPalette::Active, QPalette::WindowText).name())
      .toStdString();
}

struct Case {
  const char* what;
  TextTone tone;
  ToneBy by;
  bool groupBox;
  std::string light;  // what the window hands the text on the light theme
  bool adaptedOnDark;
};

const Case kCases[] = {
    {"alarm label", TextTone::Alarm, ToneBy::StyleSheet, false, "color: rgb(255, 0, 0)", false},
    {"grey label", TextTone::Grey, ToneBy::StyleSheet, false, "color: rgb(128, 128, 128)", false},
    {"input port title", TextTone::Input, ToneBy::StyleSheet, true,
     "QGroupBox { color: rgb(0, 128, 0) }", true},
    {"output port title", TextTone::Alarm, ToneBy::StyleSheet, true,
     "QGroupBox { color: rgb(255, 0, 0) }", false},
    {"black label", TextTone::Black, ToneBy::Palette, false, "#000000 #000000", true},
    {"grey label by palette", TextTone::Grey, ToneBy::Palette, false, "#808080 #808080", false},
};

class TextToneTest : public ::testing::Test {
 protected:
  TextToneTest() : light_(QApplication::style()->standardPalette()) {
    auto* layout = new QVBoxLayout(&window_);
    frame_ = new QGroupBox(QStringLiteral("Port A (input)"), &window_);
    inside_ = new QLabel(QStringLiteral("0"), frame_);
    (new QVBoxLayout(frame_))->addWidget(inside_);
    label_ = new QLabel(QStringLiteral("*error*"), frame_);
    frame_->layout()->addWidget(label_);
    layout->addWidget(frame_);
    window_.show();
  }

  // The text colour as drawn, against the window behind it.
  double contrastOf(QWidget& widget) {
    widget.ensurePolished();
    return contrastRatio(widget.palette().color(QPalette::Active, QPalette::WindowText),
                         window_.palette().color(QPalette::Window));
  }

  QPalette light_;
  QWidget window_;
  QGroupBox* frame_;
  QLabel* inside_;
  QLabel* label_;
};

TEST_F(TextToneTest, ExactOnTheLightThemeAdaptedOnlyWhereNeededOnADarkOne) {
  const screenshots::PaletteScope lightTheme(light_);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    QWidget& widget = c.groupBox ? static_cast<QWidget&>(*frame_) : *label_;
    setTextTone(widget, c.tone, c.by);
    EXPECT_EQ(textTone(widget), c.tone);
    EXPECT_EQ(handed(widget, c.by), c.light);
    EXPECT_TRUE(widget.isEnabled());
    {
      const screenshots::PaletteScope dark(screenshots::darkPalette());
      const std::string shown = handed(widget, c.by);
      EXPECT_EQ(shown != c.light, c.adaptedOnDark) << shown;
      EXPECT_GE(contrastOf(widget), toneContrast(c.tone)) << shown;
      EXPECT_EQ(contrastOf(*inside_), contrastRatio(QColor(230, 230, 230), QColor(53, 53, 53)))
          << "a group box's tone colours its title only";
    }
    EXPECT_EQ(handed(widget, c.by), c.light) << "exact again on the light theme";
    setTextTone(widget, TextTone::Plain, c.by);
    EXPECT_EQ(handed(widget, c.by), "") << "plain takes the colour away";
  }
}

}  // namespace
}  // namespace orvane::admin
