// Model codes as the model-dependent exports take them.
#pragma once

#include <cstdint>

namespace orvane::driver {

// A code of the second model series (8213, 8451, ...) stands for its partner
// of the first (7213, 7451, ...); every other code stands for itself.
int firstSeriesModel(std::uint16_t model);

}  // namespace orvane::driver
