#include "admin/diag/lamp.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "admin/core/theme_colours.h"

namespace orvane::admin {

Lamp::Lamp(const QString& name, bool clickable, QWidget* parent)
    : QWidget(parent), clickable_(clickable) {
  setObjectName(name);
  setFocusPolicy(clickable ? Qt::StrongFocus : Qt::NoFocus);
  if (clickable) setCursor(Qt::PointingHandCursor);
}

void Lamp::setLit(bool lit) {
  if (lit == lit_) return;
  lit_ = lit;
  update();
}

void Lamp::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const int side = std::min(width(), height()) - 4;
  const QRectF disc((width() - side) / 2.0, (height() - side) / 2.0, side, side);
  // The rim stands out on a light window as on a dark one.
  painter.setPen(
      QPen(readableOn(Qt::darkGray, palette().color(QPalette::Window), kColourContrast), 1));
  // A red light, lit or dark, on every theme, as on the module.
  painter.setBrush(lit_ ? QColor(255, 40, 40) : QColor(90, 20, 20));
  painter.drawEllipse(disc);
  if (hasFocus()) {
    painter.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void Lamp::mouseReleaseEvent(QMouseEvent* event) {
  if (clickable_ && event->button() == Qt::LeftButton &&
      rect().contains(event->position().toPoint()))
    emit clicked();
}

void Lamp::keyPressEvent(QKeyEvent* event) {
  const bool press = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
                     event->key() == Qt::Key_Enter;
  if (clickable_ && press) {
    emit clicked();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace orvane::admin
