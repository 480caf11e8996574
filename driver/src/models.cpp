#include "models.h"

#include <algorithm>
#include <array>

namespace orvane::driver {

namespace {

constexpr std::array kSecondSeries = {8213, 8215, 8226, 8228, 8347, 8451, 8453, 8455,
                                      8456, 8458, 8469, 8472, 8474, 8476, 8586};

}  // namespace

int firstSeriesModel(std::uint16_t model) {
  bool second = std::find(kSecondSeries.begin(), kSecondSeries.end(), model) != kSecondSeries.end();
  return second ? model - 1000 : model;
}

}  // namespace orvane::driver
