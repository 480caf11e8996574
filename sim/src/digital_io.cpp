// Digital I/O modules 7451, 7453, 7455, 7456, 7458, 7472, 7474, 7476: the
// "$AA6" data read, port and single-line output writes, polarity.
#include "digital_common.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::sim {
namespace {

struct Lines {
  int inputs = 0;
  int outputs = 0;
};

Lines linesOf(const std::string& model) {
  const std::string key = protocol::familyKey(model);
  if (key == "451") return {7, 8};
  if (key == "453") return {8, 0};
  if (key == "455") return {16, 0};
  if (key == "456") return {15, 0};
  if (key == "458") return {0, 16};  // two output bytes; the diagnostic window shows 15 lines
  if (key == "472") return {4, 4};
  return {0, 8};  // 474, 476
}

std::uint32_t maskOf(int lines) { return (1u << lines) - 1u; }

Reply setOutputs(ModuleState& m, const Command& c, std::uint32_t value, std::uint32_t keep) {
  const Lines lines = linesOf(m.model);
  value |= m.digitalOutputs & keep;
  if (lines.outputs == 0 || (value & ~maskOf(lines.outputs)) != 0) return refused(c);
  m.digitalOutputs = value;
  return dataReply("");
}

Reply setLine(ModuleState& m, const Command& c, int line, int state) {
  if (line < 0 || line >= linesOf(m.model).outputs || state < 0 || state > 1) return refused(c);
  const std::uint32_t bit = 1u << line;
  m.digitalOutputs = state != 0 ? (m.digitalOutputs | bit) : (m.digitalOutputs & ~bit);
  return dataReply("");
}

Reply write(ModuleState& m, const Command& c) {
  const std::string& b = c.body;
  const bool split = protocol::familyKey(m.model) == "458";
  if (!split && b.size() == 4 && b.substr(0, 2) == "00" && allHex(b.substr(2)))
    return setOutputs(m, c, protocol::hexValue(b.substr(2)), 0);
  if (!split && b.size() == 4 && b[0] == '1' && allHex(b.substr(1)) &&
      (b.substr(2) == "00" || b.substr(2) == "01"))
    return setLine(m, c, hexDigit(b[1]), b[3] - '0');
  if (split && b.size() == 4 && (b.substr(0, 2) == "0L" || b.substr(0, 2) == "0H") &&
      allHex(b.substr(2))) {
    const std::uint32_t value = protocol::hexValue(b.substr(2));
    return b[1] == 'L' ? setOutputs(m, c, value, 0xFF00) : setOutputs(m, c, value << 8, 0x00FF);
  }
  if (split && b.size() == 5 && b[0] == 'T' && allHex(b.substr(1)))
    return setOutputs(m, c, protocol::hexValue(b.substr(1)), 0);
  if (split && b.size() == 3 && (b[0] == 'L' || b[0] == 'H') && hexDigit(b[1]) >= 0 &&
      hexDigit(b[1]) < 8)
    return setLine(m, c, hexDigit(b[1]) + (b[0] == 'H' ? 8 : 0), b[2] - '0');
  return refused(c);
}

}  // namespace

std::uint32_t inputLineMask(const std::string& model) {
  const std::string key = protocol::familyKey(model);
  if (key == "469") return 0x0FFFFFFF;
  if (key == "347") return 0x7F;
  switch (protocol::familyOf(model)) {
    case protocol::ModuleFamily::MultiFunction:
      return 0x01;
    case protocol::ModuleFamily::DigitalIO:
      return maskOf(linesOf(model).inputs);
    default:
      return 0;
  }
}

std::string digitalData(const ModuleState& m, Moment now) {
  const Lines lines = linesOf(m.model);
  const std::uint32_t in = reportedInputs(m, now) & maskOf(lines.inputs);
  const std::uint32_t out = m.digitalOutputs;
  const std::string key = protocol::familyKey(m.model);
  if (key == "451" || key == "472") return protocol::hex2(out) + protocol::hex2(in) + "00";
  if (key == "453") return protocol::hex2(in) + "0000";
  if (key == "455" || key == "456") return protocol::hex2(in, 4) + "00";
  if (key == "458") return protocol::hex2(out, 4) + "00";
  return protocol::hex2(out) + "0000";
}

Reply handleDigitalIo(ModuleState& m, const Command& c, Moment now) {
  switch (c.lead) {
    case '$':
      if (c.body == "6") return "!" + digitalData(m, now);
      if (c.body == "4") return digitalSyncReply(m);
      return std::nullopt;
    case '#':
      return write(m, c);
    case '~':
      return polarityCommand(m, c);
    default:
      return std::nullopt;
  }
}

}  // namespace orvane::sim
