// COM numbers on Linux: "COM n" is the device named for n in ports.conf in the
// config directory, or /dev/ttyS<n-1> when the file has no line for it.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::serial {

// Lines "COM3=/dev/ttyUSB0"; "#" comments and blank lines allowed; blanks
// around the name, the "=" and the path ignored; the COM word in any case.
// Lines that do not parse are skipped.
std::map<int, std::string> parsePortsConf(std::string_view text);

struct PortsConfLine {
  int com = 0;
  std::string path;
};

// One line of ports.conf by the same rule; nullopt for comments, blank lines
// and lines that do not parse.
std::optional<PortsConfLine> parsePortsConfLine(std::string_view line);

// The lines of ports.conf in the config directory (read at each call); none
// when there is no file.
std::map<int, std::string> readPortsConf(const std::filesystem::path& configDir);

// The device of COM n by the ports.conf of the config directory (read at each
// call) or the default mapping.
std::string devicePathForCom(int com, const std::filesystem::path& configDir);

std::string defaultDevicePath(int com);

}  // namespace orvane::serial
