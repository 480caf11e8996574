// The per-user config directory: $XDG_CONFIG_HOME/orvane, or ~/.config/orvane.
#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

namespace orvane::serial {

std::filesystem::path configDir();

// Writes the file through a temporary file in the same directory (made by
// mkstemp, flushed to disk) renamed over the old one, then flushes the
// directory: a crash or a kill at any moment leaves the old or the new
// content, never a mix. Temporaries that killed writers left behind are
// removed. Creates the directory when missing. Throws std::runtime_error with
// the cause on failure.
void writeFileAtomically(const std::filesystem::path& path, std::string_view content);

// The millisecond clock: steady, so it never wraps or jumps.
using Clock = std::chrono::steady_clock;

inline long long millisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

}  // namespace orvane::serial
