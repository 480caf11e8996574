// The terminal's display: the last twelve lines, two per exchange (the
// command after its ">" prompt, then the reply), and below them the entry
// line. The first six exchanges fill the lines from the top and the entry line
// moves down with them; from the seventh on the oldest exchange scrolls out
// and the entry line stays at the bottom.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace orvane::admin {

class DisplayRing {
 public:
  static constexpr int kShownLines = 12;

  void clear();
  // Appends ">" + command and the reply as the link returned it.
  void append(const std::string& command, const std::string& reply);

  // The lines shown, oldest at the top.
  std::vector<std::string> lines() const;
  // The row of the entry line: the row after the last line shown.
  int entryRow() const;

 private:
  std::array<std::string, kShownLines> slots_{};
  // Display lines written since the window loaded, two per exchange.
  int lineCount_ = 0;
};

}  // namespace orvane::admin
