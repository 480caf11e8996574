// write: an analog output value, or the digital outputs.
#include <cstdint>

#include "commands.h"
#include "module.h"
#include "numbers.h"
#include "orvio.h"

namespace orvctl {

namespace {

struct WriteRequest {
  int address = 0;
  std::optional<double> value;
  std::optional<unsigned long> outputs;
  int channel = 0;
  int group = 0;
};

WriteRequest writeRequest(ArgList& args) {
  WriteRequest w;
  const auto outputs = args.option("--do");
  const auto group = args.option("--group");
  const auto channel = args.option("--channel");
  const auto positionals = args.positionals(1, 2);
  w.address = addressArgument(positionals[0]);
  if (outputs) {
    if (positionals.size() > 1 || channel) args.fail("--do takes no VALUE and no --channel");
    w.outputs = hexNumber(*outputs, 0xFF);
    if (!w.outputs) args.fail("--do " + *outputs + " is not two hexadecimal digits (00 to FF)");
    if (group) w.group = static_cast<int>(integerArgument(*group, 0, 2, "--group"));
    return w;
  }
  if (positionals.size() < 2) args.fail("give VALUE, or --do HEX for the digital outputs");
  if (group) args.fail("--group belongs to --do");
  w.value = typedNumber(positionals[1]);
  if (!w.value) args.fail(positionals[1] + " is no number");
  if (channel) w.channel = static_cast<int>(integerArgument(*channel, 0, 3, "--channel"));
  return w;
}

std::string moduleName(const ModuleInfo& m) {
  return "module " + std::to_string(m.address) + " (" + m.model + ")";
}

Record writeAnalog(Port& port, const ModuleInfo& m, const WriteRequest& w) {
  if (m.family != OV_FAMILY_ANALOG_OUTPUT)
    throw UsageError("write: " + moduleName(m) + " has no analog output (family " +
                     familyName(m.family) + "): --do HEX writes digital outputs");
  const auto a = static_cast<std::uint16_t>(m.address);
  if (m.config.model % 1000 == 347) {
    // Four outputs, each written as a signed value with three decimals.
    port.check(OV_WriteChanAO(port.slot(), a, static_cast<std::uint16_t>(w.channel),
                              outputValueText(*w.value).c_str()));
  } else {
    if (w.channel != 0)
      throw UsageError("write: " + moduleName(m) + " has one output: drop --channel");
    port.check(OV_WriteAO(port.slot(), a, plainNumber(*w.value).c_str()));
  }
  return {{"address", static_cast<long long>(m.address), ""},
          {"model", m.model, ""},
          {"channel", static_cast<long long>(w.channel), ""},
          {"out", *w.value, m.config.dataFormat == 1 ? std::string("%") : m.unit}};
}

Record writeDigital(Port& port, const ModuleInfo& m, const WriteRequest& w) {
  const std::uint16_t status = OV_WriteDOPort(
      port.slot(), static_cast<std::uint16_t>(m.address), static_cast<std::uint16_t>(w.group),
      static_cast<std::uint16_t>(*w.outputs), m.config.model);
  if (status == OV_BAD_MODEL)
    throw UsageError("write: " + moduleName(m) + " has no digital outputs the library writes");
  if (status == OV_BAD_VALUE)
    throw UsageError("write: --do " + textOf(Bits{*w.outputs, 2}) +
                     " is more than the outputs of " + moduleName(m) + " hold");
  if (status == OV_BAD_PORT_GROUP)
    throw UsageError("write: " + moduleName(m) + " has no output group " + std::to_string(w.group));
  port.check(status);
  return {{"address", static_cast<long long>(m.address), ""},
          {"model", m.model, ""},
          {"group", static_cast<long long>(w.group), ""},
          {"do", Bits{*w.outputs, 2}, ""}};
}

}  // namespace

int runWrite(Context& context, ArgList& args) {
  const WriteRequest w = writeRequest(args);
  Port& port = context.port();
  const ModuleInfo m = identify(port, w.address);
  context.printer.record(w.outputs ? writeDigital(port, m, w) : writeAnalog(port, m, w));
  return kExitOk;
}

}  // namespace orvctl
