#include "admin/core/button_icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>
#include <QtMath>

#include "admin/core/theme_colours.h"

namespace orvane::admin {

namespace {

constexpr int kSize = 32;
const QColor kInk(40, 60, 110);
// The program's own picture carries its light background with it.
const QColor kLogoPaper(230, 235, 245);
const QColor kAccent(200, 120, 20);
// The terminal's screen is dark with a green prompt on every theme.
const QColor kScreen(20, 30, 40);
const QColor kPrompt(80, 220, 80);

// The colours of a button picture: navy strokes and an orange accent, each
// lightened on a dark button just enough to stand out from it.
struct Inks {
  QColor ink;
  QColor accent;
};

Inks buttonInks(const QPalette& palette) {
  const QColor button = palette.color(QPalette::Active, QPalette::Button);
  return {readableOn(kInk, button, kColourContrast), readableOn(kAccent, button, kColourContrast)};
}

using Drawing = void (*)(QPainter&, const Inks&);

void drawSearch(QPainter& p, const Inks& inks) {
  p.setPen(QPen(inks.ink, 3));
  p.drawEllipse(QPointF(13, 13), 8, 8);
  p.setPen(QPen(inks.accent, 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(19, 19), QPointF(28, 28));
}

void drawTerminal(QPainter& p, const Inks& inks) {
  p.setPen(QPen(inks.ink, 2));
  p.setBrush(kScreen);
  p.drawRoundedRect(QRectF(3, 5, 26, 20), 2, 2);
  p.setPen(QPen(kPrompt, 2));
  p.drawLine(QPointF(8, 11), QPointF(12, 15));
  p.drawLine(QPointF(12, 15), QPointF(8, 19));
  p.drawLine(QPointF(14, 20), QPointF(21, 20));
  p.setPen(QPen(inks.ink, 2));
  p.drawLine(QPointF(10, 29), QPointF(22, 29));
}

void drawConfiguration(QPainter& p, const Inks& inks) {
  p.setPen(QPen(inks.ink, 2));
  for (int i = 0; i < 3; ++i) {
    const double x = 8 + i * 8;
    p.drawLine(QPointF(x, 4), QPointF(x, 28));
    const double knob = i == 1 ? 10 : (i == 0 ? 20 : 16);
    p.setBrush(inks.accent);
    p.drawRect(QRectF(x - 3, knob - 2, 6, 4));
  }
}

void drawDiagnostic(QPainter& p, const Inks& inks) {
  p.setPen(QPen(inks.ink, 2));
  p.drawRect(QRectF(3, 4, 26, 24));
  QPainterPath wave;
  wave.moveTo(5, 16);
  for (int x = 5; x <= 27; ++x) wave.lineTo(x, 16 - 7 * qSin((x - 5) * M_PI / 6));
  p.setPen(QPen(inks.accent, 2));
  p.drawPath(wave);
}

void drawCalibration(QPainter& p, const Inks& inks) {
  p.setPen(QPen(inks.ink, 2));
  p.drawArc(QRectF(4, 6, 24, 24), 0, 180 * 16);
  for (int i = 0; i <= 4; ++i) {
    const double angle = M_PI * i / 4;
    p.drawLine(QPointF(16 + 12 * qCos(angle), 18 - 12 * qSin(angle)),
               QPointF(16 + 9 * qCos(angle), 18 - 9 * qSin(angle)));
  }
  p.setPen(QPen(inks.accent, 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(16, 18), QPointF(23, 10));
  p.setPen(QPen(inks.ink, 2));
  p.drawLine(QPointF(6, 26), QPointF(26, 26));
}

// Drawn anew for every size and every paint, in the colours of the palette
// the application has at that moment: a change of theme redraws it.
class ButtonIconEngine : public QIconEngine {
 public:
  explicit ButtonIconEngine(Drawing draw) : draw_(draw) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / double(kSize), rect.height() / double(kSize));
    draw_(*painter, buttonInks(QGuiApplication::palette()));
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    {
      QPainter painter(&picture);
      paint(&painter, picture.rect(), mode, state);
    }
    if (mode == QIcon::Normal || mode == QIcon::Active) return picture;
    QStyleOption option;
    option.palette = QGuiApplication::palette();
    return QApplication::style()->generatedIconPixmap(mode, picture, &option);
  }

  QIconEngine* clone() const override { return new ButtonIconEngine(draw_); }

 private:
  Drawing draw_;
};

Drawing drawingOf(ButtonPicture picture) {
  switch (picture) {
    case ButtonPicture::Search:
      return drawSearch;
    case ButtonPicture::Terminal:
      return drawTerminal;
    case ButtonPicture::Configuration:
      return drawConfiguration;
    case ButtonPicture::Diagnostic:
      return drawDiagnostic;
    case ButtonPicture::Calibration:
      break;
  }
  return drawCalibration;
}

}  // namespace

QIcon buttonIcon(ButtonPicture picture) { return QIcon(new ButtonIconEngine(drawingOf(picture))); }

QPixmap programPicture(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / double(kSize), size / double(kSize));
  p.setPen(QPen(kInk, 2));
  p.setBrush(kLogoPaper);
  p.drawRoundedRect(QRectF(2, 2, 28, 28), 4, 4);
  p.setBrush(kAccent);
  for (int i = 0; i < 3; ++i) p.drawRect(QRectF(6 + i * 8, 10, 5, 12));
  p.drawLine(QPointF(4, 26), QPointF(28, 26));
  return pixmap;
}

}  // namespace orvane::admin
