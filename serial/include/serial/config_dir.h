// The per-user config directory: $XDG_CONFIG_HOME/orvane, or ~/.config/orvane.
#pragma once

#include <chrono>
#include <filesystem>

namespace orvane::serial {

std::filesystem::path configDir();

// The millisecond clock: steady, so it never wraps or jumps.
using Clock = std::chrono::steady_clock;

inline long long millisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

}  // namespace orvane::serial
