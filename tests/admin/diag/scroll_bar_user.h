// A user's hand on a scroll bar: the thumb dragged with the mouse, the
// arrows and the track clicked, the wheel turned, as real input events.
#pragma once

#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>
#include <functional>

namespace orvane::admin::testing {

// Where a part of the bar (thumb, arrows, track) is drawn now.
inline QRect scrollBarPart(QScrollBar& bar, QStyle::SubControl part) {
  QStyleOptionSlider option;
  option.initFrom(&bar);
  option.subControls = QStyle::SC_All;
  option.orientation = bar.orientation();
  if (bar.orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
  option.minimum = bar.minimum();
  option.maximum = bar.maximum();
  option.sliderPosition = bar.sliderPosition();
  option.sliderValue = bar.value();
  option.singleStep = bar.singleStep();
  option.pageStep = bar.pageStep();
  option.upsideDown = bar.invertedAppearance();
  return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar);
}

// Grabs the thumb, moves it by each offset in turn (calling `during` after
// each move, while the button is still down), and lets go.
inline void dragThumb(QScrollBar& bar, std::initializer_list<int> offsets,
                      const std::function<void()>& during) {
  const QPoint grip = scrollBarPart(bar, QStyle::SC_ScrollBarSlider).center();
  QTest::mousePress(&bar, Qt::LeftButton, {}, grip);
  QPoint at = grip;
  for (int dx : offsets) {
    at = grip + QPoint(dx, 0);
    QTest::mouseMove(&bar, at);
    during();
  }
  QTest::mouseRelease(&bar, Qt::LeftButton, {}, at);
}

inline void clickPart(QScrollBar& bar, QStyle::SubControl part) {
  QTest::mouseClick(&bar, Qt::LeftButton, {}, scrollBarPart(bar, part).center());
}

// One notch of the mouse wheel over the bar.
inline void wheelNotch(QScrollBar& bar, int angle) {
  const QPointF at = QRectF(bar.rect()).center();
  QWheelEvent wheel(at, bar.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&bar, &wheel);
}

}  // namespace orvane::admin::testing
