#include "admin/screenshots/look.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFontInfo>
#include <QStyleFactory>
#include <QWidget>
#include <cstdio>

namespace orvane::admin::screenshots {

void setLook(QApplication& application) {
  application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  const QFont font(QStringLiteral("DejaVu Sans"), 9);
  QApplication::setFont(font);
  if (QFontInfo(font).family() != font.family())
    std::fprintf(stderr, "orvadmin_screenshots: DejaVu Sans is not installed; using %s\n",
                 qPrintable(QFontInfo(font).family()));
}

QPalette darkPalette() {
  const QColor window(53, 53, 53);
  const QColor text(230, 230, 230);
  const QColor disabledText(140, 140, 140);
  QPalette palette(window, window);
  palette.setColor(QPalette::Base, QColor(36, 36, 36));
  palette.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
  palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
  palette.setColor(QPalette::HighlightedText, Qt::white);
  palette.setColor(QPalette::Link, QColor(90, 160, 240));
  palette.setColor(QPalette::ToolTipBase, window);
  palette.setColor(QPalette::PlaceholderText, disabledText);
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                   QPalette::ToolTipText, QPalette::BrightText}) {
    palette.setColor(role, text);
    palette.setColor(QPalette::Disabled, role, disabledText);
  }
  palette.setColor(QPalette::Disabled, QPalette::Base, window);
  return palette;
}

namespace {

// QApplication passes a new palette on to the widgets only once its event
// loop has run (exec); the pictures and the tests serve events without it.
void setApplicationPalette(const QPalette& palette) {
  QApplication::setPalette(palette);
  QEvent change(QEvent::ApplicationPaletteChange);
  for (QWidget* widget : QApplication::allWidgets()) QApplication::sendEvent(widget, &change);
}

}  // namespace

PaletteScope::PaletteScope(const QPalette& palette) : previous_(QApplication::palette()) {
  setApplicationPalette(palette);
}

PaletteScope::~PaletteScope() { setApplicationPalette(previous_); }

}  // namespace orvane::admin::screenshots
