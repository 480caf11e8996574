#include "admin/core/button_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace orvane::admin {

namespace {

constexpr int kSize = 32;
const QColor kInk(40, 60, 110);
const QColor kAccent(200, 120, 20);

void drawSearch(QPainter& p) {
  p.setPen(QPen(kInk, 3));
  p.drawEllipse(QPointF(13, 13), 8, 8);
  p.setPen(QPen(kAccent, 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(19, 19), QPointF(28, 28));
}

void drawTerminal(QPainter& p) {
  p.setPen(QPen(kInk, 2));
  p.setBrush(QColor(20, 30, 40));
  p.drawRoundedRect(QRectF(3, 5, 26, 20), 2, 2);
  p.setPen(QPen(QColor(80, 220, 80), 2));
  p.drawLine(QPointF(8, 11), QPointF(12, 15));
  p.drawLine(QPointF(12, 15), QPointF(8, 19));
  p.drawLine(QPointF(14, 20), QPointF(21, 20));
  p.setPen(QPen(kInk, 2));
  p.drawLine(QPointF(10, 29), QPointF(22, 29));
}

void drawConfiguration(QPainter& p) {
  p.setPen(QPen(kInk, 2));
  for (int i = 0; i < 3; ++i) {
    const double x = 8 + i * 8;
    p.drawLine(QPointF(x, 4), QPointF(x, 28));
    const double knob = i == 1 ? 10 : (i == 0 ? 20 : 16);
    p.setBrush(kAccent);
    p.drawRect(QRectF(x - 3, knob - 2, 6, 4));
  }
}

void drawDiagnostic(QPainter& p) {
  p.setPen(QPen(kInk, 2));
  p.drawRect(QRectF(3, 4, 26, 24));
  QPainterPath wave;
  wave.moveTo(5, 16);
  for (int x = 5; x <= 27; ++x) wave.lineTo(x, 16 - 7 * qSin((x - 5) * M_PI / 6));
  p.setPen(QPen(kAccent, 2));
  p.drawPath(wave);
}

void drawCalibration(QPainter& p) {
  p.setPen(QPen(kInk, 2));
  p.drawArc(QRectF(4, 6, 24, 24), 0, 180 * 16);
  for (int i = 0; i <= 4; ++i) {
    const double angle = M_PI * i / 4;
    p.drawLine(QPointF(16 + 12 * qCos(angle), 18 - 12 * qSin(angle)),
               QPointF(16 + 9 * qCos(angle), 18 - 9 * qSin(angle)));
  }
  p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(16, 18), QPointF(23, 10));
  p.setPen(QPen(kInk, 2));
  p.drawLine(QPointF(6, 26), QPointF(26, 26));
}

QPixmap drawn(void (*draw)(QPainter&), int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / double(kSize), size / double(kSize));
  draw(painter);
  return pixmap;
}

}  // namespace

QIcon buttonIcon(ButtonPicture picture) {
  switch (picture) {
    case ButtonPicture::Search:
      return QIcon(drawn(drawSearch, kSize));
    case ButtonPicture::Terminal:
      return QIcon(drawn(drawTerminal, kSize));
    case ButtonPicture::Configuration:
      return QIcon(drawn(drawConfiguration, kSize));
    case ButtonPicture::Diagnostic:
      return QIcon(drawn(drawDiagnostic, kSize));
    case ButtonPicture::Calibration:
      break;
  }
  return QIcon(drawn(drawCalibration, kSize));
}

QPixmap programPicture(int size) {
  return drawn(
      [](QPainter& p) {
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(230, 235, 245));
        p.drawRoundedRect(QRectF(2, 2, 28, 28), 4, 4);
        p.setBrush(kAccent);
        for (int i = 0; i < 3; ++i) p.drawRect(QRectF(6 + i * 8, 10, 5, 12));
        p.drawLine(QPointF(4, 26), QPointF(28, 26));
      },
      size);
}

}  // namespace orvane::admin
