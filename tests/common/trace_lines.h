// Lines of the line trace read back: time, port, mark, text and delay.
#pragma once

#include <charconv>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace orvane::test {

struct TraceLine {
  std::string time;  // "2026-05-04 14:03:07.123456"
  std::string port;  // "COM1 /dev/pts/3"
  char mark = 0;     // '>', '<', '!', '*'
  std::string text;  // the frame or the words, without the delay
  std::optional<double> delayMs;
};

// Nullopt for a line that is not a whole trace line.
inline std::optional<TraceLine> parseTraceLine(const std::string& line) {
  static const std::regex form(
      R"(^(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{6}) (.+?) ([<>!*]) (.*?)(?:  (\d+\.\d{3}) ms)?$)");
  std::smatch m;
  if (!std::regex_match(line, m, form)) return std::nullopt;
  TraceLine parsed{m[1], m[2], m[3].str().front(), m[4], std::nullopt};
  if (m[5].matched) {
    // Locale-free, as the trace writes it.
    const std::string delay = m[5];
    double ms = 0;
    std::from_chars(delay.data(), delay.data() + delay.size(), ms);
    parsed.delayMs = ms;
  }
  return parsed;
}

// Every line of the file; a line that does not parse fails the test that
// reads it through the text it keeps.
struct TraceFile {
  std::vector<TraceLine> lines;
  std::vector<std::string> malformed;
};

inline TraceFile readTraceFile(const std::string& path) {
  TraceFile file;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (auto parsed = parseTraceLine(line))
      file.lines.push_back(*parsed);
    else
      file.malformed.push_back(line);
  }
  return file;
}

}  // namespace orvane::test
