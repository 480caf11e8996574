// One exchange on a line as the products do it: purge, write the frame, read
// up to the CR with a time-out that restarts with every character.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "serial/line.h"

namespace orvane::test {

// The reply without its CR; nullopt when the line did not take the frame or
// the reply did not come in time.
inline std::optional<std::string> exchange(serial::Line& line, const std::string& frame,
                                           std::chrono::milliseconds timeout) {
  line.purge();
  if (!line.write(frame, timeout)) return std::nullopt;
  std::string reply;
  while (auto byte = line.readByte(timeout)) {
    if (*byte == '\r') return reply;
    reply += static_cast<char>(*byte);
  }
  return std::nullopt;
}

}  // namespace orvane::test
