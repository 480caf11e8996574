#include "serial/port_names.h"

#include <cctype>

#include "serial/file_read.h"
#include "serial/serial_port.h"

namespace orvane::serial {

namespace {

std::string_view strip(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// The number of one to three digits; 0 for anything else. Longer texts are
// refused before they are read, so no number can overflow.
int comNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 3) return 0;
  int number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
  }
  return number;
}

}  // namespace

std::optional<PortsConfLine> parsePortsConfLine(std::string_view text) {
  const std::string_view line = strip(text);
  if (line.empty() || line.front() == '#') return std::nullopt;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const std::string_view name = strip(line.substr(0, eq));
  const std::string_view path = strip(line.substr(eq + 1));
  if (name.size() < 4 || path.empty()) return std::nullopt;
  std::string word(name.substr(0, 3));
  for (auto& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (word != "COM") return std::nullopt;
  const int number = comNumber(name.substr(3));
  if (number == 0) return std::nullopt;
  return PortsConfLine{number, std::string(path)};
}

std::map<int, std::string> parsePortsConf(std::string_view text) {
  std::map<int, std::string> ports;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    if (auto line = parsePortsConfLine(text.substr(pos, end - pos)))
      ports[line->com] = std::move(line->path);
    pos = end + 1;
  }
  return ports;
}

std::string defaultDevicePath(int com) { return "/dev/ttyS" + std::to_string(com - 1); }

std::map<int, std::string> readPortsConf(const std::filesystem::path& configDir) {
  try {
    const auto text = readRegularFileIfAny(configDir / "ports.conf");
    return text ? parsePortsConf(*text) : std::map<int, std::string>{};
  } catch (const FileReadError& failure) {
    throw SerialError(failure.what());
  }
}

std::string devicePathForCom(int com, const std::map<int, std::string>& ports) {
  const auto it = ports.find(com);
  return it != ports.end() ? it->second : defaultDevicePath(com);
}

std::string devicePathForCom(int com, const std::filesystem::path& configDir) {
  return devicePathForCom(com, readPortsConf(configDir));
}

}  // namespace orvane::serial
