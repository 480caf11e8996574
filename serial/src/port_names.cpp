#include "serial/port_names.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace orvane::serial {

namespace {

std::string_view strip(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

}  // namespace

std::map<int, std::string> parsePortsConf(std::string_view text) {
  std::map<int, std::string> ports;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = strip(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line.front() == '#') continue;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string_view name = strip(line.substr(0, eq));
    std::string_view path = strip(line.substr(eq + 1));
    if (name.size() < 4 || path.empty()) continue;
    std::string word(name.substr(0, 3));
    for (auto& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (word != "COM") continue;
    std::string_view digits = name.substr(3);
    int number = 0;
    bool ok = !digits.empty() && digits.size() <= 3;
    for (char c : digits) {
      if (!std::isdigit(static_cast<unsigned char>(c))) ok = false;
      number = number * 10 + (c - '0');
    }
    if (ok && number > 0) ports[number] = std::string(path);
  }
  return ports;
}

std::string defaultDevicePath(int com) { return "/dev/ttyS" + std::to_string(com - 1); }

std::string devicePathForCom(int com, const std::filesystem::path& configDir) {
  std::ifstream file(configDir / "ports.conf");
  if (file) {
    std::stringstream content;
    content << file.rdbuf();
    auto ports = parsePortsConf(content.str());
    auto it = ports.find(com);
    if (it != ports.end()) return it->second;
  }
  return defaultDevicePath(com);
}

}  // namespace orvane::serial
