// What the Line Monitor keeps: the trace lines of every line of the program,
// the newest last, at most a fixed number of them, each with the module
// address it concerns so that the window can show one module's traffic.
#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "serial/line_trace.h"

namespace orvane::admin {

// The address a command frame is sent to: the two hex digits after its lead
// character ("$01M" → 1, "#0A1" → 10). None for a frame that names no single
// module (the broadcast "#**", a garbled frame).
std::optional<int> frameAddress(std::string_view frame);

// The address filter as typed: one or two hex digits, blanks around them
// allowed. Empty text is no filter; nullopt with `valid` false is text that
// is no address.
struct AddressFilter {
  bool valid = true;
  std::optional<int> address;
};
AddressFilter parseAddressFilter(std::string_view text);

struct MonitorLine {
  std::string text;
  // The module the line concerns: a frame's address, and for a reply or a
  // time-out the address of the frame it answers on that line. None for a
  // purge, a baud change and a broadcast.
  std::optional<int> address;
};

class LineMonitorLog {
 public:
  static constexpr std::size_t kCapacity = 10000;

  explicit LineMonitorLog(std::size_t capacity = kCapacity) : capacity_(capacity) {}

  // Keeps the event's line, dropping the oldest beyond the capacity.
  const MonitorLine& add(const serial::TraceEvent& event);
  void clear();
  std::size_t size() const { return lines_.size(); }

  // Whether the line is shown under the filter (no filter shows every line).
  static bool shows(const MonitorLine& line, std::optional<int> filter) {
    return !filter || line.address == filter;
  }
  // The texts of the lines shown under the filter, oldest first.
  std::vector<std::string> shown(std::optional<int> filter) const;

 private:
  std::size_t capacity_;
  std::deque<MonitorLine> lines_;
  // Per line of the program: the address of its last frame.
  std::map<std::string, std::optional<int>, std::less<>> lastAddress_;
};

}  // namespace orvane::admin
