// Commands every module knows: configuration, identity, reset status and the
// host watchdog.
#include "configuration.h"
#include "families.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::sim {
namespace {

using protocol::ModuleFamily;

// Digits of the watchdog's safe value: one 2-digit value, or 3-digit output
// counts for the analog output modules (four of them on 7347).
std::size_t safeDigits(const std::string& model) {
  const std::string key = protocol::familyKey(model);
  if (key == "342") return 3;
  if (key == "347") return 12;
  return 2;
}

Reply setWatchdog(ModuleState& m, const Command& c) {
  const std::string args = c.body.substr(1);
  const std::size_t safe = safeDigits(m.model);
  if (args.size() != 3 + safe || (args[0] != '0' && args[0] != '1') || !allHex(args.substr(1)))
    return refused(c);
  m.watchdogEnabled = args[0] == '1';
  m.watchdogTimeout = static_cast<int>(protocol::hexValue(args.substr(1, 2)));
  m.watchdogSafe = args.substr(3);
  m.watchdogTripped = false;
  return accepted(c);
}

}  // namespace

Reply handleCommon(ModuleState& m, const Command& c, Moment) {
  const std::string& b = c.body;
  switch (c.lead) {
    case '$':
      // The stored address, also in the initialization state (answering at 00).
      if (b == "2")
        return "!" + protocol::hex2(static_cast<std::uint32_t>(m.address)) + configurationData(m);
      if (b == "M") return accepted(c, m.model);
      if (b == "F") return accepted(c, m.firmware);
      if (b == "RS") {
        m.resetStatus = 1;
        return accepted(c);
      }
      if (b == "5") {
        const int status = m.resetStatus;
        m.resetStatus = 0;
        return accepted(c, std::to_string(status));
      }
      break;
    case '%':
      return configure(m, c);
    case '~':
      if (!b.empty() && b[0] == '2') return setWatchdog(m, c);
      if (b == "3") {
        return accepted(c, std::string(m.watchdogEnabled ? "1" : "0") +
                               protocol::hex2(static_cast<std::uint32_t>(m.watchdogTimeout)) +
                               m.watchdogSafe);
      }
      break;
    default:
      break;
  }
  return std::nullopt;
}

Reply respond(ModuleState& m, const Command& c, Moment now) {
  Reply reply;
  switch (protocol::familyOf(m.model)) {
    case ModuleFamily::AnalogInput:
      reply = handleAnalogInput(m, c, now);
      break;
    case ModuleFamily::MultiFunction:
      reply = handleMultiFunction(m, c, now);
      break;
    case ModuleFamily::AnalogOutput:
      reply = handleAnalogOutput(m, c, now);
      break;
    case ModuleFamily::DigitalIO:
      reply = protocol::familyKey(m.model) == "469" ? handlePort7469(m, c, now)
                                                    : handleDigitalIo(m, c, now);
      break;
    case ModuleFamily::CounterFrequency:
      reply = handleCounter(m, c, now);
      break;
    case ModuleFamily::Converter:
      reply = handleConverter(m, c, now);
      break;
    case ModuleFamily::Unknown:
      break;
  }
  if (!reply) reply = handleCommon(m, c, now);
  if (!reply) reply = refused(c);
  return reply;
}

}  // namespace orvane::sim
