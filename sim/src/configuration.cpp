#include "configuration.h"

#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::sim {
namespace {

using protocol::hex2;
using protocol::ModuleFamily;

int storedBaudCode(const ModuleState& m) { return m.pendingBaudCode.value_or(m.baudCode); }
bool storedChecksum(const ModuleState& m) { return m.pendingChecksum.value_or(m.checksum); }

int converterWord(const ModuleState& m, bool checksum) {
  return (m.statusWord & ~0x4000) | (checksum ? 0x4000 : 0);
}

struct Request {
  int newAddress = 0, typeCode = 0, baudCode = 0, format = 0;
  bool checksum = false;
  int rs232BaudCode = 0, statusWord = 0;
};

std::optional<Request> parse(const ModuleState& m, const std::string& b) {
  Request r;
  const bool converter = protocol::familyOf(m.model) == ModuleFamily::Converter;
  if (!allHex(b) || b.size() != (converter ? 10u : 8u)) return std::nullopt;
  r.newAddress = static_cast<int>(protocol::hexValue(b.substr(0, 2)));
  r.typeCode = static_cast<int>(protocol::hexValue(b.substr(2, 2)));
  if (converter) {
    r.rs232BaudCode = hexDigit(b[4]) - 3;
    r.baudCode = hexDigit(b[5]) - 3;
    r.statusWord = static_cast<int>(protocol::hexValue(b.substr(6, 4)));
    r.checksum = (r.statusWord & 0x4000) != 0;
    if (r.typeCode != 0x40 || r.rs232BaudCode < 0 || r.rs232BaudCode > 7) return std::nullopt;
  } else {
    r.baudCode = static_cast<int>(protocol::hexValue(b.substr(4, 2))) - 3;
    const int ff = static_cast<int>(protocol::hexValue(b.substr(6, 2)));
    r.checksum = (ff & 0x40) != 0;
    r.format = ff & ~0x40;
    if (!typeCodeAllowed(m.model, r.typeCode) || !formatAllowed(m.model, r.format))
      return std::nullopt;
  }
  if (r.baudCode < 0 || r.baudCode > 7) return std::nullopt;
  return r;
}

}  // namespace

bool typeCodeAllowed(const std::string& model, int typeCode) {
  switch (protocol::familyOf(model)) {
    case ModuleFamily::AnalogInput:
    case ModuleFamily::MultiFunction:
    case ModuleFamily::AnalogOutput:
      return protocol::typeCodeValid(model, typeCode);
    case ModuleFamily::CounterFrequency:
      return typeCode == 0x50 || typeCode == 0x51;
    default:
      return typeCode == 0x40;
  }
}

bool formatAllowed(const std::string& model, int format) {
  switch (protocol::familyOf(model)) {
    case ModuleFamily::AnalogInput:
    case ModuleFamily::MultiFunction:
    case ModuleFamily::AnalogOutput:
      return (format & ~0x03) == 0 && protocol::dataFormatValid(model, format);
    case ModuleFamily::CounterFrequency:
      return (format & ~0x04) == 0;
    default:
      return format == 0;
  }
}

std::string configurationData(const ModuleState& m) {
  const int cc = storedBaudCode(m) + 3;
  if (protocol::familyOf(m.model) == ModuleFamily::Converter) {
    return "40" + hex2(static_cast<std::uint32_t>(m.rs232BaudCode + 3), 1) +
           hex2(static_cast<std::uint32_t>(cc), 1) +
           hex2(static_cast<std::uint32_t>(converterWord(m, storedChecksum(m))), 4);
  }
  const int ff = m.format | (storedChecksum(m) ? 0x40 : 0);
  return hex2(static_cast<std::uint32_t>(m.typeCode)) + hex2(static_cast<std::uint32_t>(cc)) +
         hex2(static_cast<std::uint32_t>(ff));
}

std::optional<int> requestedAddress(const Command& c) {
  if (c.lead != '%' || c.body.size() < 2 || !allHex(c.body.substr(0, 2))) return std::nullopt;
  return static_cast<int>(protocol::hexValue(c.body.substr(0, 2)));
}

Reply configure(ModuleState& m, const Command& c) {
  const auto r = parse(m, c.body);
  if (!r) return refused(c);
  // Baud rate and checksum change only in the initialization state, and take
  // effect when the module leaves it; a module on the line would otherwise
  // drop off the host's line settings in the middle of a session.
  const bool linkChanges = r->baudCode != storedBaudCode(m) || r->checksum != storedChecksum(m);
  if (linkChanges && !m.initState) return refused(c);
  if (m.initState) {
    m.pendingBaudCode = r->baudCode;
    m.pendingChecksum = r->checksum;
  }
  m.address = r->newAddress;
  m.typeCode = r->typeCode;
  if (protocol::familyOf(m.model) == ModuleFamily::Converter) {
    m.rs232BaudCode = r->rs232BaudCode;
    m.statusWord = r->statusWord & ~0x4000;
    m.format = r->statusWord & 0x03;
  } else {
    m.format = r->format;
  }
  return "!" + hex2(static_cast<std::uint32_t>(r->newAddress));
}

}  // namespace orvane::sim
