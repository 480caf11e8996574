// ports.conf: COM numbers 1 to 999 with trimmed, single-line paths, each of
// which reads back from a line of its own.
#include <cctype>
#include <string>

#include "fuzz_check.h"
#include "serial/port_names.h"

namespace {

using orvane::fuzz::require;

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto ports = orvane::serial::parsePortsConf(orvane::fuzz::textOf(data, size));
  for (const auto& [com, path] : ports) {
    require(com >= 1 && com <= 999, "COM numbers have one to three digits");
    require(!path.empty() && !isBlank(path.front()) && !isBlank(path.back()),
            "a path is trimmed and not empty");
    require(path.find('\n') == std::string::npos, "a path is one line");
    const auto again = orvane::serial::parsePortsConf("COM" + std::to_string(com) + "=" + path);
    require(again.size() == 1 && again.count(com) && again.at(com) == path, "a line reads back");
  }
  return 0;
}
