#include "admin/core/com_config.h"

#include <climits>
#include <optional>
#include <sstream>

#include "admin/core/admin_context.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"
#include "serial/file_read.h"

namespace orvane::admin {

namespace {

// A message quotes no more of a line than this: a message box lays out a
// megabyte of text for many seconds before it shows.
constexpr std::size_t kQuotedLength = 80;

std::string quoted(const std::string& line) {
  if (line.size() <= kQuotedLength) return "\"" + line + "\"";
  return "\"" + line.substr(0, kQuotedLength) + "...\"";
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  std::string line;
  while (std::getline(stream, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// A whole line (blanks at both ends aside) holding a signed 16-bit integer.
std::optional<int> shortValue(std::string_view text) {
  text = protocol::trimmed(text);
  if (text.empty()) return std::nullopt;
  bool negative = text.front() == '-';
  if (text.front() == '-' || text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 32768) return std::nullopt;
  }
  value = negative ? -value : value;
  if (value > 32767) return std::nullopt;
  return static_cast<int>(value);
}

int requiredShort(const std::string& text, const std::string& what) {
  auto value = shortValue(text);
  if (!value)
    throw ComCfgError("COM.CFG: " + what + " " + quoted(text) + " is not a number that fits");
  return *value;
}

void checkPortSettingsLine(const std::string& line) {
  std::vector<std::string> items;
  std::istringstream stream(line);
  std::string item;
  while (std::getline(stream, item, ',')) items.push_back(item);
  if (items.size() != 3)
    throw ComCfgError("COM.CFG: line 3 " + quoted(line) + " is not parity,8,1");
  requiredShort(items[1], "the data bits");
  requiredShort(items[2], "the stop bits");
}

char parityLetter(int parity) {
  switch (parity) {
    case 1:
      return 'o';
    case 2:
      return 'e';
    default:
      return 'n';
  }
}

}  // namespace

std::filesystem::path comCfgPath(const AdminContext& context) {
  return context.configDir / "COM.CFG";
}

ComCfgContent parseComCfg(const std::string& text) {
  const auto lines = splitLines(text);
  if (lines.size() < 3) throw ComCfgError("COM.CFG ends before its port settings");
  ComCfgContent content;
  content.timeout = requiredShort(lines[0], "the time-out");
  content.port = requiredShort(lines[1], "the port number");
  checkPortSettingsLine(lines[2]);
  for (std::size_t i = 3; i < lines.size(); ++i) {
    const std::string_view rate = protocol::trimmed(lines[i]);
    if (!protocol::isDecimalNumber(rate)) continue;
    // A number beyond int is no baud rate; cast, it could wrap onto one.
    const long long value = protocol::integerValue(rate);
    if (value >= INT_MIN && value <= INT_MAX) content.baudRates.push_back(static_cast<int>(value));
  }
  return content;
}

std::optional<ComCfgContent> readComCfg(const std::filesystem::path& path) {
  std::optional<std::string> text;
  try {
    text = serial::readRegularFileIfAny(path);
  } catch (const serial::FileReadError& failure) {
    throw ComCfgError(failure.what());
  }
  if (!text) return std::nullopt;
  return parseComCfg(*text);
}

std::string comCfgText(const AdminContext& context) {
  const PortSetting& setting = context.portSetting(context.ComPort);
  std::string text = std::to_string(context.ReplyTimeout) + "\r\n";
  text += std::to_string(context.ComPort) + "\r\n";
  text += std::string(1, parityLetter(setting.Parity)) + ",8,1\r\n";
  for (int code = 0; code < kBaudCodeCount; ++code)
    if (setting.SearchFlags[static_cast<std::size_t>(code)] == 1)
      text += std::to_string(protocol::baudRateOf(code)) + "\r\n";
  return text;
}

}  // namespace orvane::admin
