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
// when there is no file. A file that is there but cannot be read (a FIFO, a
// device, larger than 1 MB, no permission) throws SerialError with the file's
// name and the cause: the open of a port then fails with that text, instead
// of hanging or opening a device the user did not choose.
std::map<int, std::string> readPortsConf(const std::filesystem::path& configDir);

// The device of COM n by the lines of ports.conf or the default mapping.
std::string devicePathForCom(int com, const std::map<int, std::string>& ports);
// The same with the ports.conf of the config directory (read at each call).
std::string devicePathForCom(int com, const std::filesystem::path& configDir);

std::string defaultDevicePath(int com);

}  // namespace orvane::serial
