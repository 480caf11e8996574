#include "serial/config_dir.h"

#include <cstdlib>

namespace orvane::serial {

std::filesystem::path configDir() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg) return std::filesystem::path(xdg) / "orvane";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".config" / "orvane";
}

}  // namespace orvane::serial
