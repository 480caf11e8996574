#include "admin/diag/scroll_binding.h"

#include <QScrollBar>

namespace orvane::admin {

void bindScrollBar(QScrollBar& bar, std::function<void(int)> show,
                   std::function<void(int)> settle) {
  QObject::connect(&bar, &QScrollBar::valueChanged, &bar, [&bar, show, settle](int value) {
    show(value);
    if (!bar.isSliderDown()) settle(value);
  });
  QObject::connect(&bar, &QScrollBar::sliderReleased, &bar,
                   [&bar, settle] { settle(bar.value()); });
}

}  // namespace orvane::admin
