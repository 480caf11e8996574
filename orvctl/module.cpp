#include "module.h"

#include "numbers.h"

namespace orvctl {

namespace {

constexpr const char* kFormatNames[] = {"engineering", "percent", "twos", "ohms"};

Value text(const std::optional<std::string>& value) {
  return value ? Value(*value) : Value(std::monostate{});
}

Value nonEmpty(const std::string& value) {
  return value.empty() ? Value(std::monostate{}) : Value(value);
}

void addConverter(Record& record, const OV_ConverterConfig& c) {
  // Data bits, parity and stop bits as a terminal program writes them: 8N1.
  const char parity = c.parity < 3 ? "NOE"[c.parity] : '?';
  record.push_back({"rs232Baud", static_cast<long long>(baudRateOf(c.firstBaud)), ""});
  record.push_back(
      {"rs232Format", std::to_string(c.dataBits) + parity + (c.stopBits ? "2" : "1"), ""});
  record.push_back({"addressable", c.flag15 == 0, ""});
  record.push_back({"interface", std::string(c.flag13 ? "RS-485" : "RS-422"), ""});
  record.push_back({"appendCR", c.flag8 != 0, ""});
}

}  // namespace

bool ModuleInfo::analog() const {
  return family == OV_FAMILY_ANALOG_INPUT || family == OV_FAMILY_MULTI_FUNCTION ||
         family == OV_FAMILY_ANALOG_OUTPUT;
}

long ModuleInfo::configuredBaudRate() const {
  return baudRateOf(converter ? converter->secondBaud : config.baudCode);
}

ModuleInfo identify(Port& port, int address) {
  ModuleInfo m;
  m.address = address;
  const auto a = static_cast<std::uint16_t>(address);
  // Plain first, with the checksum when the plain frame gets no reply.
  port.check(OV_GetConfig(port.slot(), a, &m.config));
  port.setChecksum(m.config.checksum != 0);
  char name[30] = "";
  port.check(OV_GetModuleName(port.slot(), a, name));
  m.model = name;
  std::uint16_t family = OV_FAMILY_UNKNOWN, channels = 0;
  OV_GetModelInfo(name, &family, &channels);
  m.family = family;
  m.channels = channels;
  // Not every model reports a firmware version.
  char version[30] = "";
  if (OV_GetVersion(port.slot(), a, version) == OV_SUCCESS) m.firmware = version;
  if (m.family == OV_FAMILY_CONVERTER) {
    OV_ConverterConfig converter{};
    port.check(OV_Get7912Config(port.slot(), a, &converter));
    m.converter = converter;
  }
  char range[30] = "", unit[30] = "";
  OV_GetTypeInfo(m.config.typeCode, m.config.dataFormat, range, unit);
  m.range = range;
  m.unit = unit;
  return m;
}

const char* familyName(unsigned family) {
  constexpr const char* kNames[] = {"digital-io", "multi-function", "analog-output", "analog-input",
                                    "counter",    "converter",      "unknown"};
  return family < std::size(kNames) ? kNames[family] : "unknown";
}

const char* formatName(unsigned dataFormat) {
  return dataFormat < std::size(kFormatNames) ? kFormatNames[dataFormat] : nullptr;
}

std::optional<unsigned> formatOfName(const std::string& name) {
  for (unsigned f = 0; f < std::size(kFormatNames); ++f)
    if (name == kFormatNames[f] || name == std::to_string(f)) return f;
  return std::nullopt;
}

Record infoRecord(const ModuleInfo& m) {
  Record r = {
      {"address", static_cast<long long>(m.address), ""},
      {"storedAddress", static_cast<long long>(m.config.address), ""},
      {"model", m.model, ""},
      {"family", std::string(familyName(m.family)), ""},
      {"firmware", text(m.firmware), ""},
      {"baud", static_cast<long long>(m.configuredBaudRate()), ""},
      {"checksum", m.config.checksum != 0, ""},
      {"typeCode", Bits{m.config.typeCode, 2}, ""},
      {"range", nonEmpty(m.range), ""},
      {"unit", nonEmpty(m.unit), ""},
      {"format",
       m.analog() ? Value(std::string(formatName(m.config.dataFormat))) : Value(std::monostate{}),
       ""},
      {"initState", m.initState(), ""},
  };
  if (m.converter) addConverter(r, *m.converter);
  return r;
}

}  // namespace orvctl
