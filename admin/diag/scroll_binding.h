// A scroll bar that drives an output: dragging the thumb only shows the
// value; the command goes out when the value settles (thumb released, an
// arrow or the track clicked, a key, the wheel), never once per pixel of a
// drag.
#pragma once

#include <functional>

class QScrollBar;

namespace orvane::admin {

void bindScrollBar(QScrollBar& bar, std::function<void(int)> show, std::function<void(int)> settle);

}  // namespace orvane::admin
