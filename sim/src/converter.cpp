// Converters 7912 and 7917: the data pass to the RS-232 device behind them,
// the data gate, delimiter, device identifier, leading code, RTS and CTS.
#include "families.h"

namespace orvane::sim {
namespace {

Reply setting(ModuleState& m, const Command& c) {
  const std::string& b = c.body;
  if (b.empty()) return std::nullopt;
  const std::string rest = b.substr(1);
  switch (b[0]) {
    case 'C':
      if (rest.size() != 1 || !delimiterAllowed(rest[0])) return refused(c);
      m.delimiter = rest[0];
      return accepted(c);
    case 'D':
      return rest.empty() ? accepted(c, std::string(1, m.delimiter)) : refused(c);
    case '6':
      m.deviceId = rest;
      return accepted(c);
    case '7':
      return rest.empty() ? accepted(c, m.deviceId) : refused(c);
    case '0':
      if (rest != "0" && rest != "1") return refused(c);
      m.rts = rest[0] - '0';
      return accepted(c);
    case '3':
      return rest.empty() ? accepted(c, std::to_string(m.rts)) : refused(c);
    case '1':
      return rest.empty() ? accepted(c, std::to_string(m.cts)) : refused(c);
    default:
      return std::nullopt;
  }
}

// The device's answer travels back as the reply; a device that does not
// answer leaves the line silent.
Reply dataPass(const ModuleState& m, const Command& c) {
  return m.device.echo ? c.body : m.device.fixedReply;
}

}  // namespace

// A delimiter is a visible ASCII character other than the other leads and
// the broadcast mark: no blank, CR or other control character.
bool delimiterAllowed(char c) {
  return c > ' ' && c < 0x7F && std::string_view("$#%@~&*").find(c) == std::string_view::npos;
}

Reply handleConverter(ModuleState& m, const Command& c, Moment) {
  if (c.lead == m.delimiter) return dataPass(m, c);
  switch (c.lead) {
    case '$':
      return setting(m, c);
    case '&':
      if (c.body != "810" && c.body != "800") return refused(c);
      m.dataGate = c.body == "810";
      return accepted(c);
    case '~':
      if (c.body.rfind("10", 0) != 0) return std::nullopt;
      m.leadingCode = c.body.substr(2);
      return accepted(c);
    default:
      return std::nullopt;
  }
}

}  // namespace orvane::sim
