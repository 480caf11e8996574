#include "admin/terminal/display_ring.h"

#include <algorithm>

namespace orvane::admin {

void DisplayRing::clear() {
  slots_.fill({});
  lineCount_ = 0;
}

void DisplayRing::append(const std::string& command, const std::string& reply) {
  const auto k = static_cast<std::size_t>(lineCount_ % kShownLines);
  slots_[k] = ">" + command;
  slots_[k + 1] = reply;
  // Only the position in the ring matters once it is full, so the count
  // wraps within a whole number of rings instead of overflowing.
  lineCount_ = lineCount_ >= 2 * kShownLines ? lineCount_ + 2 - kShownLines : lineCount_ + 2;
}

std::vector<std::string> DisplayRing::lines() const {
  if (lineCount_ <= kShownLines) return {slots_.begin(), slots_.begin() + lineCount_};
  std::vector<std::string> shown;
  for (int j = 0; j < kShownLines; ++j)
    shown.push_back(slots_[static_cast<std::size_t>((lineCount_ + j) % kShownLines)]);
  return shown;
}

int DisplayRing::entryRow() const { return std::min(lineCount_, kShownLines); }

}  // namespace orvane::admin
