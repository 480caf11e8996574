#include "reading.h"

#include <charconv>
#include <cstdint>
#include <string>

#include "numbers.h"
#include "orvio.h"

namespace orvctl {

namespace {

bool allHex(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos;
}

int modelKey(const ModuleInfo& m) { return m.config.model % 1000; }

// Hexadecimal digits of a module's digital lines.
int inputDigits(const ModuleInfo& m) {
  switch (modelKey(m)) {
    case 469:
      return 7;
    case 455:
    case 456:
      return 4;
    default:
      return m.family == OV_FAMILY_DIGITAL_IO ? 2 : 1;
  }
}

int outputDigits(const ModuleInfo& m) {
  if (modelKey(m) == 458) return 4;
  return m.family == OV_FAMILY_DIGITAL_IO ? 2 : 1;
}

// The digital lines the library reads for this model; nothing for a model
// without them.
void addDigital(Port& port, const ModuleInfo& m, Record& record) {
  const auto a = static_cast<std::uint16_t>(m.address);
  std::uint32_t inputs = 0;
  std::uint16_t status = OV_ReadDI(port.slot(), a, &inputs, m.config.model);
  if (status != OV_BAD_MODEL) {
    port.check(status);
    record.push_back({"di", Bits{inputs, inputDigits(m)}, ""});
  }
  std::uint16_t outputs = 0;
  status = OV_ReadBackDO(port.slot(), a, &outputs, m.config.model);
  if (status != OV_BAD_MODEL) {
    port.check(status);
    record.push_back({"do", Bits{outputs, outputDigits(m)}, ""});
  }
}

void addAnalogInputs(Port& port, const ModuleInfo& m, std::optional<int> channel, Record& record) {
  const auto a = static_cast<std::uint16_t>(m.address);
  std::uint16_t mask = 0;
  port.check(OV_ReadChanStatus(port.slot(), a, &mask));
  const int first = channel.value_or(0);
  const int last = channel.value_or(static_cast<int>(m.channels) - 1);
  for (int n = first; n <= last; ++n) {
    const std::string name = "ch" + std::to_string(n);
    if ((mask >> n & 1) == 0) {
      if (channel)
        throw Failure(kExitModule, "channel " + std::to_string(n) + " of module " +
                                       std::to_string(m.address) +
                                       " is disabled (read all channels to see which are on)");
      record.push_back({name, std::monostate{}, ""});
      continue;
    }
    char value[30] = "";
    port.check(OV_ReadChanAI(port.slot(), a, static_cast<std::uint16_t>(n), value));
    record.push_back(analogField(name, value, m));
  }
}

void addCounters(Port& port, const ModuleInfo& m, std::optional<int> channel, Record& record) {
  const bool frequency = m.config.typeCode == 0x51;
  for (int n = channel.value_or(0); n <= channel.value_or(1); ++n) {
    std::uint32_t value = 0;
    port.check(OV_ReadCtrValue(port.slot(), static_cast<std::uint16_t>(m.address),
                               static_cast<std::uint16_t>(n), &value));
    record.push_back({(frequency ? "frequency" : "counter") + std::to_string(n),
                      static_cast<long long>(value), frequency ? "Hz" : ""});
  }
}

}  // namespace

Field analogField(const std::string& name, const std::string& reading, const ModuleInfo& m) {
  const unsigned format = m.config.dataFormat;
  if (format == 2 && allHex(reading) && reading.size() <= 8) {
    long long counts = 0;
    std::from_chars(reading.data(), reading.data() + reading.size(), counts, 16);
    if (reading.size() == 4 && counts > 0x7FFF) counts -= 0x10000;
    return {name, counts, ""};
  }
  const auto value = decimalNumber(reading);
  if (!value) return {name, reading, ""};
  return {name, *value, format == 1 ? std::string("%") : m.unit};
}

void checkReadable(const ModuleInfo& m, std::optional<int> channel) {
  const std::string what = "module " + std::to_string(m.address) + " (" + m.model + ")";
  int channels = 0;
  switch (m.family) {
    case OV_FAMILY_ANALOG_INPUT:
    case OV_FAMILY_MULTI_FUNCTION:
      channels = static_cast<int>(m.channels);
      break;
    case OV_FAMILY_COUNTER:
      channels = 2;
      break;
    case OV_FAMILY_DIGITAL_IO:
    case OV_FAMILY_ANALOG_OUTPUT:
      break;
    default:
      throw UsageError("read: " + what + " has nothing to read (family " + familyName(m.family) +
                       ")");
  }
  if (channel && *channel >= channels)
    throw UsageError("read: " + what + " has " +
                     (channels ? "the channels 0 to " + std::to_string(channels - 1)
                               : std::string("no channels: leave CH out")));
}

Record readModule(Port& port, const ModuleInfo& m, std::optional<int> channel) {
  Record record;
  const auto a = static_cast<std::uint16_t>(m.address);
  switch (m.family) {
    case OV_FAMILY_ANALOG_INPUT:
      addAnalogInputs(port, m, channel, record);
      break;
    case OV_FAMILY_MULTI_FUNCTION:
    case OV_FAMILY_ANALOG_OUTPUT: {
      // One value, the input or the output read back, and the digital lines.
      const bool input = m.family == OV_FAMILY_MULTI_FUNCTION;
      char value[30] = "";
      port.check(input ? OV_ReadAI(port.slot(), a, value) : OV_ReadBackAO(port.slot(), a, value));
      record.push_back(analogField(input ? "ch0" : "out", value, m));
      addDigital(port, m, record);
      break;
    }
    case OV_FAMILY_DIGITAL_IO:
      addDigital(port, m, record);
      break;
    case OV_FAMILY_COUNTER:
      addCounters(port, m, channel, record);
      break;
    default:
      break;
  }
  if (record.empty())
    throw UsageError("read: module " + std::to_string(m.address) + " (" + m.model +
                     ") has no inputs the library reads");
  return record;
}

}  // namespace orvctl
