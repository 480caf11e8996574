// Model 7469: ports A, B and C (C split into CH and CL), each half set to
// input or output, and four isolated inputs.
#include "digital_common.h"
#include "protocol/numbers.h"

namespace orvane::sim {
namespace {

// Wired input bits: 0-7 port A, 8-15 port B, 16-23 port C, 24-27 isolated.
// Output bits: 0-7 A, 8-15 B, 16-23 C.
constexpr int kIsolatedShift = 24;

// The output bits of a port that are set to output (bit 3 A, 2 B, 1 CH, 0 CL).
std::uint32_t outputMask(const ModuleState& m, int port) {
  const int dirs = m.portDirections;
  switch (port) {
    case 0:
      return (dirs & 8) ? 0x00 : 0xFF;
    case 1:
      return (dirs & 4) ? 0x00 : 0xFF;
    default:
      return ((dirs & 2) ? 0x00 : 0xF0) | ((dirs & 1) ? 0x00 : 0x0F);
  }
}

std::uint32_t portValue(const ModuleState& m, int port, Moment now) {
  const int shift = 8 * port;
  const std::uint32_t in = reportedInputs(m, now) >> shift & 0xFF;
  const std::uint32_t out = m.digitalOutputs >> shift & 0xFF;
  const std::uint32_t mask = outputMask(m, port);
  return (out & mask) | (in & ~mask & 0xFF);
}

Reply setPort(ModuleState& m, const Command& c, int port, std::uint32_t value) {
  const std::uint32_t mask = outputMask(m, port);
  if (mask == 0 || value > 0xFF) return refused(c);
  const int shift = 8 * port;
  m.digitalOutputs = (m.digitalOutputs & ~(0xFFu << shift)) | ((value & mask) << shift);
  return dataReply("");
}

Reply setLine(ModuleState& m, const Command& c, int port, int line, int state) {
  const std::uint32_t bit = 1u << line;
  if (line < 0 || line > 7 || state < 0 || state > 1 || (outputMask(m, port) & bit) == 0)
    return refused(c);
  const std::uint32_t wide = bit << (8 * port);
  m.digitalOutputs = state != 0 ? (m.digitalOutputs | wide) : (m.digitalOutputs & ~wide);
  return dataReply("");
}

Reply writeAll(ModuleState& m, const std::string& digits) {
  std::uint32_t outputs = 0;
  for (int port = 0; port < 3; ++port) {
    const std::uint32_t value =
        protocol::hexValue(digits.substr(static_cast<std::size_t>(2 * port), 2));
    outputs |= (value & outputMask(m, port)) << (8 * port);
  }
  m.digitalOutputs = outputs;
  return dataReply("");
}

Reply write(ModuleState& m, const Command& c) {
  const std::string& b = c.body;
  if (b.size() == 4 && b[0] == '0' && b[1] >= 'A' && b[1] <= 'C' && allHex(b.substr(2)))
    return setPort(m, c, b[1] - 'A', protocol::hexValue(b.substr(2)));
  if (b.size() == 7 && b[0] == 'T' && allHex(b.substr(1))) return writeAll(m, b.substr(1));
  if (b.size() == 3 && b[0] >= 'A' && b[0] <= 'C' && hexDigit(b[1]) >= 0)
    return setLine(m, c, b[0] - 'A', hexDigit(b[1]), b[2] - '0');
  return refused(c);
}

Reply setting(ModuleState& m, const Command& c, Moment now) {
  const std::string& b = c.body;
  if (b == "6") return "!" + port7469Data(m, now);
  if (b == "4") return digitalSyncReply(m);
  if (b.size() == 3 && b[0] == 'S' && allHex(b.substr(1))) {
    const auto dirs = protocol::hexValue(b.substr(1));
    if (dirs > 0x0F) return refused(c);
    m.portDirections = static_cast<int>(dirs);
    return accepted(c);
  }
  return std::nullopt;
}

}  // namespace

std::string port7469Data(const ModuleState& m, Moment now) {
  const std::uint32_t isolated = reportedInputs(m, now) >> kIsolatedShift & 0x0F;
  return protocol::hex2(static_cast<std::uint32_t>(m.portDirections)) + protocol::hex2(isolated) +
         protocol::hex2(portValue(m, 0, now)) + protocol::hex2(portValue(m, 1, now)) +
         protocol::hex2(portValue(m, 2, now));
}

Reply handlePort7469(ModuleState& m, const Command& c, Moment now) {
  switch (c.lead) {
    case '$':
      return setting(m, c, now);
    case '#':
      return write(m, c);
    case '~':
      return polarityCommand(m, c);
    default:
      return std::nullopt;
  }
}

}  // namespace orvane::sim
