// config: a new address, range, data format, baud rate or checksum setting;
// without any, the configuration as it is.
#include <cstdint>

#include "commands.h"
#include "module.h"
#include "numbers.h"
#include "orvio.h"

namespace orvctl {

namespace {

// Waiting for a module to store its configuration takes longer than a reply.
constexpr int kLongTimeOutFactor = 4;

struct Changes {
  int address = 0;
  std::optional<int> newAddress;
  std::optional<unsigned> typeCode;
  std::optional<unsigned> format;
  std::optional<long> baudRate;
  std::optional<bool> checksum;

  bool any() const { return newAddress || typeCode || format || baudRate || checksum; }
  bool link() const { return baudRate || checksum; }
};

Changes changes(ArgList& args) {
  Changes c;
  if (auto a = args.option("--address")) c.newAddress = addressArgument(*a, "--address");
  if (auto range = args.option("--range")) {
    const auto code = hexNumber(*range, 0xFF);
    if (!code) args.fail("--range " + *range + " is no type code (two hexadecimal digits: 0E)");
    c.typeCode = static_cast<unsigned>(*code);
  }
  if (auto format = args.option("--format")) {
    c.format = formatOfName(*format);
    if (!c.format)
      args.fail("--format " + *format + " is none of engineering, percent, twos, ohms");
  }
  if (auto baud = args.option("--baud")) c.baudRate = baudArgument(*baud);
  if (auto checksum = args.option("--checksum")) {
    if (*checksum != "on" && *checksum != "off") args.fail("--checksum takes on or off");
    c.checksum = *checksum == "on";
  }
  c.address = addressArgument(args.positionals(1, 1)[0]);
  return c;
}

std::uint16_t sendConverter(Port& port, ModuleInfo& m, const Changes& c) {
  if (c.typeCode || c.format)
    throw UsageError("config: module " + std::to_string(m.address) + " (" + m.model +
                     ") is a converter: it has no --range or --format");
  OV_ConverterConfig cc = *m.converter;
  if (c.newAddress) cc.address = static_cast<std::uint16_t>(*c.newAddress);
  if (c.baudRate) cc.secondBaud = *baudCodeOf(*c.baudRate);
  if (c.checksum) cc.flag14 = *c.checksum;
  m.converter = cc;
  m.config.address = cc.address;
  m.config.checksum = cc.flag14;
  return OV_Set7912Config(port.slot(), static_cast<std::uint16_t>(m.address), &cc);
}

std::uint16_t sendModule(Port& port, ModuleInfo& m, const Changes& c) {
  OV_ModuleConfig& config = m.config;
  if (c.newAddress) config.address = static_cast<std::uint16_t>(*c.newAddress);
  if (c.typeCode) config.typeCode = static_cast<std::uint16_t>(*c.typeCode);
  if (c.format) config.dataFormat = static_cast<std::uint16_t>(*c.format);
  if (c.baudRate) config.baudCode = *baudCodeOf(*c.baudRate);
  if (c.checksum) config.checksum = *c.checksum;
  char range[30] = "", unit[30] = "";
  OV_GetTypeInfo(config.typeCode, config.dataFormat, range, unit);
  m.range = range;
  m.unit = unit;
  return OV_SetConfig(port.slot(), static_cast<std::uint16_t>(m.address), &config);
}

}  // namespace

int runConfig(Context& context, ArgList& args) {
  const Changes c = changes(args);
  Port& port = context.port();
  ModuleInfo m = identify(port, c.address);
  if (c.any()) {
    port.setTimeout(port.timeoutMs() * kLongTimeOutFactor);
    const std::uint16_t status = m.converter ? sendConverter(port, m, c) : sendModule(port, m, c);
    port.setTimeout(port.timeoutMs());
    if (status == OV_REFUSED && c.link())
      throw Failure(kExitModule,
                    port.errorText() +
                        " (a module takes a new baud rate or checksum setting only in its "
                        "initialization state: switch it on in that state and give address 0)");
    port.check(status);
  }
  context.printer.record(infoRecord(m));
  return kExitOk;
}

}  // namespace orvctl
