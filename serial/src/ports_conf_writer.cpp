#include "serial/ports_conf_writer.h"

#include <cctype>
#include <stdexcept>
#include <vector>

#include "serial/file_read.h"
#include "serial/file_write.h"
#include "serial/port_names.h"

namespace orvane::serial {

namespace {

struct Line {
  std::string text;    // without its ending
  std::string ending;  // "\n", "\r\n" or empty for a last line without one
};

std::vector<Line> splitLines(std::string_view text) {
  std::vector<Line> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) {
      lines.push_back({std::string(text), ""});
      break;
    }
    std::string_view body = text.substr(0, end);
    std::string ending = "\n";
    if (!body.empty() && body.back() == '\r') {
      body.remove_suffix(1);
      ending = "\r\n";
    }
    lines.push_back({std::string(body), ending});
    text.remove_prefix(end + 1);
  }
  return lines;
}

void checkPath(int com, const std::string& path) {
  const bool blankAtEnd =
      !path.empty() && (std::isspace(static_cast<unsigned char>(path.front())) ||
                        std::isspace(static_cast<unsigned char>(path.back())));
  if (blankAtEnd || path.find_first_of("\r\n", 0) != std::string::npos ||
      path.find('\0') != std::string::npos)
    throw std::invalid_argument("COM" + std::to_string(com) +
                                ": a device path cannot begin or end with a blank or hold a "
                                "line break");
}

// The index of the line that counts for each COM number: the last one.
std::map<int, std::size_t> countingLines(const std::vector<Line>& lines) {
  std::map<int, std::size_t> counting;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (auto parsed = parsePortsConfLine(lines[i].text)) counting[parsed->com] = i;
  return counting;
}

std::string comLine(int com, const std::string& path) {
  return "COM" + std::to_string(com) + "=" + path;
}

}  // namespace

std::string rewritePortsConf(std::string_view text, const std::map<int, std::string>& devices) {
  for (const auto& [com, path] : devices) checkPath(com, path);
  std::vector<Line> lines = splitLines(text);
  const std::map<int, std::size_t> counting = countingLines(lines);

  std::string result;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    const auto parsed = parsePortsConfLine(line.text);
    const auto wanted = parsed ? devices.find(parsed->com) : devices.end();
    if (wanted == devices.end()) {
      result += line.text + line.ending;
      continue;
    }
    // Only the line that counted is replaced; earlier ones never took effect
    // and would take effect once it is removed.
    if (counting.at(parsed->com) != i || wanted->second.empty()) continue;
    result += (parsed->path == wanted->second ? line.text : comLine(parsed->com, wanted->second)) +
              line.ending;
  }

  const std::string newEnding =
      !lines.empty() && lines.front().ending == "\r\n" ? "\r\n" : std::string("\n");
  for (const auto& [com, path] : devices) {
    if (path.empty() || counting.count(com)) continue;
    if (!result.empty() && result.back() != '\n') result += newEnding;
    result += comLine(com, path) + newEnding;
  }
  return result;
}

bool updatePortsConf(const std::filesystem::path& configDir,
                     const std::map<int, std::string>& devices) {
  const std::filesystem::path file = configDir / "ports.conf";
  const std::string old = readRegularFileIfAny(file).value_or(std::string());
  const std::string updated = rewritePortsConf(old, devices);
  if (updated == old) return false;
  writeFileAtomically(file, updated);
  return true;
}

}  // namespace orvane::serial
