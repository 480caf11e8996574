#include "admin/core/module_reader.h"

#include <optional>

#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/reply_fields.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

using protocol::ModuleFamily;

double unsignedHex8(const std::string& reply) { return replyHex(reply, 3, 8); }

float decimalFrom(const std::string& text, std::size_t position,
                  std::size_t length = std::string::npos) {
  return static_cast<float>(replyDecimal(text, position, length));
}

// Sends "<lead><AA><body>" to the probed module; the reply when it answered
// "!". Nothing goes out once the search was stopped.
class ProbeLink {
 public:
  ProbeLink(AdminContext& context, const ProbeResult& probe, const std::function<bool()>& stopped)
      : context_(context), probe_(probe), stopped_(stopped) {}

  LinkTask<std::optional<std::string>> ask(char lead, std::string body) {
    if (stopped()) co_return std::nullopt;
    context_.LastCommand = lead + Hex2(static_cast<unsigned>(probe_.address)) + body;
    const bool ok = co_await ExchangeAsync(context_, {probe_.checksumFlag, probe_.baudCode}, 0,
                                           context_.ReplyTimeout);
    if (!ok || !context_.LastReply.starts_with('!')) co_return std::nullopt;
    co_return context_.LastReply;
  }
  bool stopped() const { return stopped_ && stopped_(); }

 private:
  AdminContext& context_;
  const ProbeResult& probe_;
  const std::function<bool()>& stopped_;
};

LinkTask<void> read228Mapping(ProbeLink& link, ModuleEntry& entry) {
  if (const auto r = co_await link.ask('$', "3")) {
    std::size_t sign = r->find('+', 9);
    if (sign == std::string::npos) sign = r->find('-', 9);
    if (sign == std::string::npos) sign = r->size();
    entry.SourceLow = decimalFrom(*r, 3, sign > 3 ? sign - 3 : 0);
    entry.SourceHigh = decimalFrom(*r, sign);
  }
  if (const auto r = co_await link.ask('$', "5")) {
    entry.TargetLow = decimalFrom(*r, 3, 7);
    entry.TargetHigh = decimalFrom(*r, 10);
  }
}

LinkTask<void> readAlarms(ProbeLink& link, ModuleEntry& entry) {
  if (const auto r = co_await link.ask('@', "RL")) entry.AlarmLow = decimalFrom(*r, 3);
  if (const auto r = co_await link.ask('@', "RH")) entry.AlarmHigh = decimalFrom(*r, 3);
  if (const auto r = co_await link.ask('@', "DI"); r && r->size() == 8)
    entry.AlarmMode = replyDigit(*r, 3);
}

LinkTask<void> readCounter(ProbeLink& link, ModuleEntry& entry) {
  if (const auto r = co_await link.ask('$', "B")) entry.InputModeCode = replyDigit(*r, 3);
  if (const auto r = co_await link.ask('$', "A")) entry.GateModeCode = replyDigit(*r, 3);
  for (std::size_t c = 0; c < 2; ++c)
    if (const auto r = co_await link.ask('$', "5" + std::to_string(c)))
      entry.CounterRunning[c] = replyDigit(*r, 3);
  for (std::size_t c = 0; c < 2; ++c)
    if (const auto r = co_await link.ask('$', "3" + std::to_string(c)))
      entry.MaxCount[c] = unsignedHex8(*r);
  for (std::size_t c = 0; c < 2; ++c)
    if (const auto r = co_await link.ask('@', "G" + std::to_string(c)))
      entry.InitialCount[c] = unsignedHex8(*r);
  if (const auto r = co_await link.ask('$', "4")) entry.FilterEnabled = replyDigit(*r, 3);
  const auto decimal = [](const std::string& reply, std::size_t length) {
    return static_cast<int>(protocol::integerValue(replyText(reply, 3, length)));
  };
  if (const auto r = co_await link.ask('$', "0H")) entry.MinWidthHigh = decimal(*r, 4);
  if (const auto r = co_await link.ask('$', "0L")) entry.MinWidthLow = decimal(*r, 4);
  if (const auto r = co_await link.ask('$', "1H")) entry.TtlLevelHigh = decimal(*r, 2);
  if (const auto r = co_await link.ask('$', "1L")) entry.TtlLevelLow = decimal(*r, 2);
  if (const auto r = co_await link.ask('@', "DI")) {
    const int d = replyDigit(*r, 3);
    entry.AlarmEnabled[0] = d % 2;
    entry.AlarmEnabled[1] = d / 2;
  }
  if (const auto r = co_await link.ask('@', "RP")) entry.AlarmLimit[0] = unsignedHex8(*r);
  if (const auto r = co_await link.ask('@', "RA")) entry.AlarmLimit[1] = unsignedHex8(*r);
}

void readConverterWord(const std::string& config, ModuleEntry& entry) {
  const int v = replyHex(config, 7, 4);
  entry.BaudCode = replyDigit(config, 6) - 3;
  entry.Rs232BaudCode = replyDigit(config, 5) - 3;
  entry.ChecksumFlag = (v >> 14) & 1;
  entry.DataFormat = v % 4;
  entry.AddressingCode = (v >> 15) & 1;
  entry.InterfaceCode = (v >> 13) & 1;
  entry.AppendCR = (v >> 8) & 1;
  entry.ParityCode = (v >> 3) & 3;
  entry.StopBitsCode = (v >> 2) & 1;
}

}  // namespace

LinkTask<void> readModuleAsync(AdminContext& context, const ProbeResult& probe, ModuleEntry& entry,
                               std::function<bool()> stopped) {
  const std::string& config = probe.configReply;
  entry.Address = probe.address == 0 ? replyHex(config, 1, 2) : probe.address;
  entry.TypeCode = replyHex(config, 3, 2);

  ProbeLink link(context, probe, stopped);
  if (link.stopped()) co_return;
  context.LastCommand = "$" + Hex2(static_cast<unsigned>(probe.address)) + "M";
  const bool named = co_await ExchangeAsync(context, {probe.checksumFlag, probe.baudCode}, 0,
                                            context.ReplyTimeout);
  entry.ModelName = modelNameField(named ? replyText(context.LastReply, 3) : "");

  const ModuleFamily family = protocol::familyOf(entry.ModelName);
  if (family == ModuleFamily::Converter) {
    readConverterWord(config, entry);
    co_return;
  }
  const int ff = replyHex(config, 7, 2);
  entry.BaudCode = replyDigit(config, 6) - 3;
  entry.ChecksumFlag = (ff >> 6) & 1;
  const std::string key = protocol::familyKey(entry.ModelName);
  switch (family) {
    case ModuleFamily::DigitalIO:
      if (const auto r = co_await link.ask('~', "CR"))
        entry.Polarity = 2 * replyDigit(*r, 3) + replyDigit(*r, 4);
      break;
    case ModuleFamily::MultiFunction:
      entry.DataFormat = ff % 4;
      co_await readAlarms(link, entry);
      if (key == "228") co_await read228Mapping(link, entry);
      break;
    case ModuleFamily::AnalogOutput:
    case ModuleFamily::AnalogInput:
      entry.DataFormat = ff % 4;
      if (key != "347") break;
      if (const auto r = co_await link.ask('~', "CR")) entry.Polarity = replyDigit(*r, 4);
      break;
    case ModuleFamily::CounterFrequency:
      entry.GateTimeCode = (ff >> 2) & 1;
      co_await readCounter(link, entry);
      break;
    case ModuleFamily::Converter:
    case ModuleFamily::Unknown:
      break;
  }
}

void readModule(AdminContext& context, const ProbeResult& probe, ModuleEntry& entry) {
  RunSequence(readModuleAsync(context, probe, entry));
}

void refreshEntry(AdminContext& context, int entryIndex) {
  auto& entry = context.ModuleList.at(static_cast<std::size_t>(entryIndex));
  const auto exchange = [&context, entryIndex](const std::string& body) {
    context.LastCommand = body.substr(0, 1) +
                          Hex2(static_cast<unsigned>(effectiveAddress(context, entryIndex))) +
                          body.substr(1);
    return Exchange(context, entryLink(context, entryIndex), 0, context.ReplyTimeout) &&
           context.LastReply.starts_with('!');
  };
  if (!exchange("$2") || context.LastReply.size() != 9) return;
  const std::string config = context.LastReply;
  entry.TypeCode = replyHex(config, 3, 2);
  entry.BaudCode = replyHex(config, 5, 2) - 3;
  const int ff = replyHex(config, 7, 2);
  entry.ChecksumFlag = (ff >> 6) & 1;
  switch (protocol::familyOf(entry.ModelName)) {
    case ModuleFamily::MultiFunction:
      entry.DataFormat = ff % 4;
      if (exchange("@RL")) entry.AlarmLow = decimalFrom(context.LastReply, 3);
      if (exchange("@RH")) entry.AlarmHigh = decimalFrom(context.LastReply, 3);
      if (exchange("@DI") && context.LastReply.size() == 8)
        entry.AlarmMode = replyDigit(context.LastReply, 3);
      break;
    case ModuleFamily::AnalogOutput:
      entry.DataFormat = ff % 4;
      break;
    default:
      break;
  }
}

}  // namespace orvane::admin
