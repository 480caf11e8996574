#include "line_rules.h"

#include <cctype>
#include <string_view>

#include "protocol/catalogue.h"
#include "protocol/frame.h"
#include "protocol/numbers.h"

namespace orvane::sim {
namespace {

using protocol::ModuleFamily;

constexpr std::string_view kLeads = "$#%@~&";
constexpr int kInitBaudRate = 9600;

int effectiveAddress(const ModuleState& m) { return m.initState ? 0 : m.address; }

// A module addressed as 00 never uses a checksum.
bool usesChecksum(const ModuleState& m) {
  return !m.initState && m.checksum && effectiveAddress(m) != 0;
}

// The last two characters are the checksum of the others.
bool checksumMatches(std::string_view text) {
  const std::string_view digits = text.substr(text.size() - 2);
  text.remove_suffix(2);
  return hexDigit(digits[0]) >= 0 && hexDigit(digits[1]) >= 0 &&
         protocol::hexValue(digits) == protocol::checksum(text);
}

bool isDataPass(const ModuleState& m, char lead) {
  return protocol::familyOf(m.model) == ModuleFamily::Converter && lead == m.delimiter &&
         kLeads.find(lead) == std::string_view::npos;
}

double outputOfCount(const ModuleState& m, std::string_view digits) {
  const double fraction = protocol::hexValue(digits) / 4095.0;
  if (protocol::familyKey(m.model) == "347") return -10.0 + 20.0 * fraction;
  const double low = m.typeCode == 0x31 ? 4.0 : 0.0;
  return low + (protocol::fullScale(m.typeCode) - low) * fraction;
}

void applySafeValue(ModuleState& m) {
  const std::string& safe = m.watchdogSafe;
  switch (protocol::familyOf(m.model)) {
    case ModuleFamily::DigitalIO:
      m.digitalOutputs = protocol::hexValue(safe);
      break;
    case ModuleFamily::AnalogOutput:
      for (std::size_t i = 0; i + 3 <= safe.size() && i / 3 < m.outputs.size(); i += 3)
        m.outputs[i / 3] = outputOfCount(m, std::string_view(safe).substr(i, 3));
      break;
    default:
      break;
  }
}

}  // namespace

bool hearsLine(const ModuleState& m, const LineSettings& line) {
  const int rate = m.initState ? kInitBaudRate : protocol::baudRateOf(m.baudCode);
  return line.eightBitsNoParity && line.baudRate == rate;
}

bool isBroadcastFrame(const std::string& text) {
  return text.size() >= 3 && (text[0] == '#' || text[0] == '~') && text[1] == '*' && text[2] == '*';
}

bool hearsBroadcast(const ModuleState& m, const std::string& text, const LineSettings& line) {
  if (!hearsLine(m, line) || !isBroadcastFrame(text)) return false;
  if (!usesChecksum(m)) return text.size() == 3;
  return text.size() == 5 && checksumMatches(text);
}

std::optional<Command> addressedTo(const ModuleState& m, const std::string& text,
                                   const LineSettings& line) {
  if (text.size() < 3 || !hearsLine(m, line)) return std::nullopt;
  const char lead = text[0];
  if (kLeads.find(lead) == std::string_view::npos && !isDataPass(m, lead)) return std::nullopt;
  const int hi = hexDigit(text[1]), lo = hexDigit(text[2]);
  if (hi < 0 || lo < 0 || hi * 16 + lo != effectiveAddress(m)) return std::nullopt;
  std::string_view body(text);
  if (usesChecksum(m)) {
    if (text.size() < 5 || !checksumMatches(text)) return std::nullopt;
    body.remove_suffix(2);
  }
  return Command{lead, text.substr(1, 2), std::string(body.substr(3))};
}

bool answersWithChecksum(const ModuleState& m) { return usesChecksum(m); }

std::string frameReply(const std::string& reply, bool withChecksum, const FaultSpec& fault) {
  std::string bytes = reply;
  if (withChecksum) {
    const int sum = protocol::checksum(reply);
    std::string digits =
        protocol::hex2(static_cast<std::uint32_t>(fault.wrongChecksum ? (sum + 1) & 0xFF : sum));
    if (fault.lowerCaseChecksum) {
      for (char& c : digits) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    bytes += digits;
  }
  if (fault.nulBytes) bytes.insert(std::min<std::size_t>(2, bytes.size()), std::string("\0\0", 2));
  if (fault.garbage) bytes.insert(0, "\x7F\xFE\x13#~*\xA5!");
  if (!fault.noCarriageReturn) bytes += protocol::kCarriageReturn;
  return bytes;
}

void setInitialization(ModuleState& m, bool on) {
  if (on == m.initState) return;
  m.initState = on;
  if (on) return;
  if (m.pendingBaudCode) m.baudCode = *m.pendingBaudCode;
  if (m.pendingChecksum) m.checksum = *m.pendingChecksum;
  m.pendingBaudCode.reset();
  m.pendingChecksum.reset();
  m.resetStatus = 1;
}

void checkWatchdog(ModuleState& m, Moment lastHostOk, Moment now) {
  if (!m.watchdogEnabled || m.watchdogTripped || m.watchdogTimeout <= 0) return;
  if (now.t - lastHostOk.t <= m.watchdogTimeout / 10.0) return;
  m.watchdogTripped = true;
  applySafeValue(m);
}

}  // namespace orvane::sim
