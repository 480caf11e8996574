// A horizontal scroll bar that drives an analog output: it takes the
// keyboard focus, Right and the wheel turned up raise the output, Left and
// the wheel turned down lower it (a plain QScrollBar inverts its keys and
// wheel, as a view's scroll bar must).
#pragma once

#include <QScrollBar>

namespace orvane::admin {

struct BarSteps {
  int minimum;
  int maximum;
  int single;
  int page;
};

QScrollBar* outputScrollBar(const QString& name, BarSteps steps, QWidget* parent);

}  // namespace orvane::admin
