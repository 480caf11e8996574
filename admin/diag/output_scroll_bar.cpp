#include "admin/diag/output_scroll_bar.h"

namespace orvane::admin {

QScrollBar* outputScrollBar(const QString& name, BarSteps steps, QWidget* parent) {
  auto* bar = new QScrollBar(Qt::Horizontal, parent);
  bar->setObjectName(name);
  bar->setRange(steps.minimum, steps.maximum);
  bar->setSingleStep(steps.single);
  bar->setPageStep(steps.page);
  bar->setInvertedControls(false);
  bar->setFocusPolicy(Qt::StrongFocus);
  bar->setMinimumWidth(180);
  return bar;
}

}  // namespace orvane::admin
