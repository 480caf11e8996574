// The readability check itself: it finds a text drawn in a colour that does
// not stand out from what is behind it, and passes what a theme draws.
#include "admin/screenshots/readability.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "admin/core/theme_colours.h"
#include "admin/screenshots/look.h"

namespace orvane::admin::screenshots {
namespace {

void setText(QWidget& widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(role, colour);
  widget.setPalette(palette);
}

struct Case {
  const char* what;
  std::function<void(QWidget& window)> build;
  std::vector<QString> unreadable;
};

const QColor kBlack(0, 0, 0);

const Case kCases[] = {
    {"the theme's own texts",
     [](QWidget& window) {
       new QLabel(QStringLiteral("Module:"), &window);
       new QCheckBox(QStringLiteral("Checksum enable"), &window);
       new QPushButton(QStringLiteral("OK"), &window);
       auto* off = new QLabel(QStringLiteral("Disabled"), &window);
       off->setEnabled(false);
     },
     {}},
    {"a label painted black",
     [](QWidget& window) {
       auto* label = new QLabel(QStringLiteral("Freq gate time:"), &window);
       label->setObjectName(QStringLiteral("Label3"));
       setText(*label, QPalette::WindowText, kBlack);
     },
     {QStringLiteral("Label3")}},
    {"a check box and a button painted black",
     [](QWidget& window) {
       setText(*new QCheckBox(QStringLiteral("Log to file"), &window), QPalette::WindowText,
               kBlack);
       setText(*new QPushButton(QStringLiteral("Run"), &window), QPalette::ButtonText,
               QColor(60, 60, 60));
     },
     {QStringLiteral("QCheckBox"), QStringLiteral("QPushButton")}},
    {"a group box title from a style sheet",
     [](QWidget& window) {
       auto* box = new QGroupBox(QStringLiteral("Port A (input)"), &window);
       box->setObjectName(QStringLiteral("Frame1(0)"));
       box->setStyleSheet(QStringLiteral("QGroupBox { color: rgb(0, 128, 0) }"));
     },
     {QStringLiteral("Frame1(0)")}},
    {"red that says an alarm needs 3:1, red plain text 4.5:1",
     [](QWidget& window) {
       setTextTone(*new QLabel(QStringLiteral("*error*"), &window), TextTone::Alarm);
       auto* plain = new QLabel(QStringLiteral("Address:"), &window);
       plain->setObjectName(QStringLiteral("Plain"));
       plain->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0)"));
     },
     {QStringLiteral("Plain")}},
    {"light text on a panel that fills itself light",
     [](QWidget& window) {
       auto* panel = new QWidget(&window);
       panel->setAutoFillBackground(true);
       setText(*panel, QPalette::Window, QColor(239, 239, 239));
       (new QVBoxLayout(panel))->addWidget(new QLabel(QStringLiteral("Address:"), panel));
     },
     {QStringLiteral("QLabel")}},
    {"texts nobody sees",
     [](QWidget& window) {
       auto* hidden = new QLabel(QStringLiteral("Alarm"), &window);
       setText(*hidden, QPalette::WindowText, kBlack);
       hidden->hide();
       setText(*new QLabel(QString(), &window), QPalette::WindowText, kBlack);
     },
     {}},
};

TEST(Readability, FindsTheTextsThatDoNotStandOutOnADarkTheme) {
  const PaletteScope dark(darkPalette());
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    c.build(window);
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      layout->addWidget(child);
    window.show();
    std::vector<QString> found;
    for (const TextContrast& text : unreadableTexts(window)) {
      EXPECT_LT(text.contrast, text.required);
      found.push_back(text.control);
    }
    EXPECT_EQ(found, c.unreadable);
  }
}

// A theme that gives its own disabled text little contrast is not held
// against a window; the same grey painted by the window on enabled text is.
TEST(Readability, DisabledTextNeedsNoMoreThanTheThemeGivesIt) {
  QPalette faint = darkPalette();
  faint.setColor(QPalette::Disabled, QPalette::WindowText, QColor(85, 85, 85));
  const PaletteScope theme(faint);
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* off = new QLabel(QStringLiteral("Disabled"), &window);
  off->setEnabled(false);
  auto* grey = new QLabel(QStringLiteral("Channel 5:"), &window);
  setText(*grey, QPalette::WindowText, QColor(85, 85, 85));
  layout->addWidget(off);
  layout->addWidget(grey);
  window.show();
  const std::vector<TextContrast> found = unreadableTexts(window);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].text, "Channel 5:");
  EXPECT_EQ(describe(found[0]).toStdString(), "QLabel \"Channel 5:\": 1.65:1, needs 4.50:1");
}

}  // namespace
}  // namespace orvane::admin::screenshots
