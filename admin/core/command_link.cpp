#include "admin/core/command_link.h"

#include "admin/core/admin_context.h"
#include "protocol/catalogue.h"
#include "protocol/frame.h"
#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

constexpr std::chrono::milliseconds kWriteTimeout{2000};
constexpr int kInitBaudCode = 3;  // 9600 bps

std::string_view trimmedCommand(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The rate of a BaudCode; 9600 for a code outside 0..7.
int rateOf(int baudCode) {
  return baudCode >= 0 && baudCode <= 7 ? protocol::baudRateOf(baudCode) : 9600;
}

char charAt(const std::string& text, std::size_t position) {
  return position < text.size() ? text[position] : '\0';
}

}  // namespace

int fixedSpeedBaudCode(const AdminContext& context, int port) {
  const auto& flags = context.portSetting(port).SearchFlags;
  for (int code = 0; code < kBaudCodeCount; ++code)
    if (flags[static_cast<std::size_t>(code)] == 1) return code;
  return kInitBaudCode;
}

std::string fixedSpeedText(int port, int baudRate) {
  return "COM" + std::to_string(port) +
         " is a network line at a fixed speed; commands go out at its speed, not at " +
         std::to_string(baudRate) + " bps";
}

namespace {

// The speed a line at a fixed speed is taken to run at, read on the GUI
// thread, which owns the port settings.
int fixedSpeedCodeOf(const AdminContext& context, int port) {
  return port >= 1 && port <= kComPortCount ? fixedSpeedBaudCode(context, port) : kInitBaudCode;
}

// `note` tells a rate that a line at a fixed speed (fixedCode) could not take.
void setPortBaudOnLine(AdminContext& context, int port, int baudCode, int fixedCode,
                       std::string& note) {
  if (port < 1 || port > kComPortCount)
    throw serial::SerialError("COM" + std::to_string(port) + ": no such port");
  auto& current = context.PortBaudCode.at(static_cast<std::size_t>(port - 1));
  if (context.OrvComm.fixedSpeed(port)) {
    const int speed = fixedCode;
    if (current != speed) context.OrvComm.port(port).configure(rateOf(speed));
    current = speed;
    if (rateOf(baudCode) != rateOf(speed)) note = fixedSpeedText(port, rateOf(baudCode));
    return;
  }
  if (baudCode == current) return;
  context.OrvComm.port(port).configure(rateOf(baudCode), serial::Parity::None);
  current = baudCode;
  try {
    context.line().pause(context.baudSettlePause);
  } catch (const LineJobCancelled&) {
    current = -1;  // not settled: the next frame sets the line up again
    throw;
  }
}

void writeCommandOnLine(AdminContext& context, int port, const std::string& command,
                        int checksumFlag, int baudCode, int fixedCode, std::string& note) {
  // A lost line is opened again here, before it is set up.
  auto& line = context.OrvComm.port(port);
  if (line.hungUp()) throw serial::DeviceDisconnected(line.device() + ": device disconnected");
  setPortBaudOnLine(context, port, baudCode, fixedCode, note);
  context.line().checkpoint();
  line.purgeInput();
  const std::string frame = protocol::completeCommand(trimmedCommand(command), checksumFlag == 1);
  if (!line.write(frame, kWriteTimeout))
    throw serial::SerialError(line.device() + ": the line did not take the command");
}

bool readReplyOnLine(AdminContext& context, int port, std::string& reply, int checksumFlag,
                     int delayMs, int timeoutMs) {
  if (delayMs > 0) context.line().pause(std::chrono::milliseconds(delayMs));
  reply.clear();
  auto& line = context.OrvComm.port(port);
  const std::chrono::milliseconds timeout(timeoutMs > 0 ? timeoutMs : 0);
  for (;;) {
    // Each character restarts the time-out: a slow module is read completely.
    const auto byte = line.readByte(timeout);
    if (!byte) return false;
    if (*byte == static_cast<std::uint8_t>(protocol::kCarriageReturn)) break;
    if (reply.size() == protocol::kReplyLengthCap) return false;
    reply.push_back(static_cast<char>(*byte));
  }
  if (checksumFlag != 1) return true;
  auto checked = protocol::checkReply(reply, true, protocol::DigitRule::AnyCase);
  if (!checked) {
    line.traceChecksumFailure(reply);
    return false;
  }
  reply = std::move(*checked);
  return true;
}

// Writes the command. A write that finds the adapter gone reached no
// module: the device is opened again at once and the command goes out once
// more.
void sendCommand(AdminContext& context, const ExchangeRequest& request, std::string& note) {
  const auto write = [&] {
    writeCommandOnLine(context, request.port, request.command, request.link.checksumFlag,
                       request.link.baudCode, request.fixedSpeedCode, note);
  };
  try {
    write();
    return;
  } catch (const serial::DeviceDisconnected&) {
    if (!context.OrvComm.isOpen(request.port)) throw;  // opening it again failed
    context.OrvComm.lose(request.port);
  }
  write();
}

// The whole exchange, where the line lives. A window polling on a timer must
// not end the program when the port is closed or the adapter is pulled out:
// the exchange simply fails.
ExchangeResult exchangeOnLine(AdminContext& context, const ExchangeRequest& request) {
  ExchangeResult result;
  std::string note;
  try {
    sendCommand(context, request, note);
    result.ok = readReplyOnLine(context, request.port, result.reply, request.link.checksumFlag,
                                request.delayMs, request.timeoutMs);
  } catch (const serial::DeviceDisconnected& failure) {
    result = {{}, false, failure.what(), {}};
    // Found while reading: the module may have carried the command out, so
    // it is not sent again; the next exchange opens the device again.
    if (context.OrvComm.isOpen(request.port)) {
      context.OrvComm.lose(request.port);
      result.linkError = context.OrvComm.disconnectedText(request.port);
    }
  } catch (const serial::SerialError& failure) {
    result = {{}, false, failure.what(), {}};
  } catch (const LineJobCancelled&) {
    result = {};  // given up before it went out: not a failure of the line
  } catch (const std::exception& failure) {
    result = {{}, false, failure.what(), {}};  // no sequence may end without a word
  }
  result.linkNote = std::move(note);
  return result;
}

void applyResult(AdminContext& context, ExchangeResult result) {
  context.LastReply = std::move(result.reply);
  context.LastExchangeOK = result.ok;
  context.LastLinkError = std::move(result.linkError);
  context.LastLinkNote = std::move(result.linkNote);
}

ExchangeRequest requestOf(const AdminContext& context, const LinkParameters& link, int delayMs,
                          int timeoutMs) {
  return {context.ComPort, context.LastCommand, link,
          delayMs,         timeoutMs,           fixedSpeedCodeOf(context, context.ComPort)};
}

}  // namespace

void SetPortBaud(AdminContext& context, int port, int baudCode) {
  std::string note;
  const int fixedCode = fixedSpeedCodeOf(context, port);
  context.line().call([&] { setPortBaudOnLine(context, port, baudCode, fixedCode, note); });
  if (!note.empty()) context.LastLinkNote = std::move(note);
}

void WriteCommand(AdminContext& context, const std::string& command, int checksumFlag,
                  int baudCode) {
  const int port = context.ComPort;
  std::string note;
  const int fixedCode = fixedSpeedCodeOf(context, port);
  context.line().call(
      [&] { writeCommandOnLine(context, port, command, checksumFlag, baudCode, fixedCode, note); });
  if (!note.empty()) context.LastLinkNote = std::move(note);
}

bool ReadReply(AdminContext& context, std::string& reply, int checksumFlag, int delayMs,
               int timeoutMs) {
  const int port = context.ComPort;
  return context.line().callFor<bool>(
      [&] { return readReplyOnLine(context, port, reply, checksumFlag, delayMs, timeoutMs); });
}

bool Exchange(AdminContext& context, const LinkParameters& link, int delayMs, int timeoutMs) {
  const ExchangeRequest request = requestOf(context, link, delayMs, timeoutMs);
  applyResult(context, context.line().callFor<ExchangeResult>(
                           [&] { return exchangeOnLine(context, request); }));
  return context.LastExchangeOK;
}

ExchangeAwaiter::ExchangeAwaiter(AdminContext& context, const LinkParameters& link, int delayMs,
                                 int timeoutMs)
    : context_(context),
      request_(requestOf(context, link, delayMs, timeoutMs)),
      result_(std::make_shared<ExchangeResult>()) {}

ExchangeAwaiter::~ExchangeAwaiter() {
  // The sequence was destroyed while it waited (its window closed): the
  // exchange is dropped, or, when already on the wire, ends unheard.
  if (ticket_) context_.line().cancel(ticket_);
}

bool ExchangeAwaiter::await_ready() {
  if (context_.line().threaded()) return false;
  *result_ = exchangeOnLine(context_, request_);
  return true;
}

void ExchangeAwaiter::await_suspend(std::coroutine_handle<> awaiting) {
  // The job fills the shared result, never this awaiter: the sequence may be
  // destroyed while the job runs.
  ticket_ = context_.line().post([&context = context_, request = request_,
                                  result = result_] { *result = exchangeOnLine(context, request); },
                                 [awaiting] { awaiting.resume(); });
}

bool ExchangeAwaiter::await_resume() {
  ticket_.reset();
  applyResult(context_, std::move(*result_));
  return context_.LastExchangeOK;
}

ExchangeAwaiter ExchangeAsync(AdminContext& context, const LinkParameters& link, int delayMs,
                              int timeoutMs) {
  return ExchangeAwaiter(context, link, delayMs, timeoutMs);
}

ExchangeAwaiter ExchangeCommandAsync(AdminContext& context, int entryIndex, int delayMs,
                                     int timeoutMs) {
  return ExchangeAwaiter(context, entryLink(context, entryIndex), delayMs, timeoutMs);
}

LinkParameters entryLink(const AdminContext& context, int entryIndex) {
  return {effectiveChecksum(context, entryIndex), effectiveBaudCode(context, entryIndex)};
}

void ExchangeCommand(AdminContext& context, int entryIndex, int delayMs, int timeoutMs) {
  Exchange(context, entryLink(context, entryIndex), delayMs, timeoutMs);
}

int effectiveAddress(const AdminContext& context, int entryIndex) {
  if (entryIndex == context.InitModuleIndex) return 0;
  return context.ModuleList.at(static_cast<std::size_t>(entryIndex)).Address;
}

int effectiveBaudCode(const AdminContext& context, int entryIndex) {
  if (entryIndex == context.InitModuleIndex) return kInitBaudCode;
  return context.ModuleList.at(static_cast<std::size_t>(entryIndex)).BaudCode;
}

int effectiveChecksum(const AdminContext& context, int entryIndex) {
  if (effectiveAddress(context, entryIndex) == 0) return 0;
  return context.ModuleList.at(static_cast<std::size_t>(entryIndex)).ChecksumFlag;
}

std::string Hex2(unsigned value, int width) { return protocol::hex2(value, width); }

int HexDigitValue(char c) { return protocol::hexDigitValue(c); }

std::string addressedCommand(char lead, int address, std::string_view body) {
  return lead + Hex2(static_cast<unsigned>(address)) + std::string(body);
}

void FixDecimalSeparator(const AdminContext& context, std::string& text) {
  for (char& c : text)
    if (c == context.DecimalSeparator) c = '.';
}

namespace {

// "#AA", with the channel number when the model has more than one.
std::string analogCommand(const AdminContext& context, int entryIndex, int channel) {
  const auto& entry = context.ModuleList.at(static_cast<std::size_t>(entryIndex));
  std::string command = "#" + Hex2(static_cast<unsigned>(effectiveAddress(context, entryIndex)));
  if (protocol::channelCount(entry.ModelName) > 1) command += std::to_string(channel);
  return command;
}

std::string analogReading(AdminContext& context, int entryIndex) {
  if (!context.LastExchangeOK || !context.LastReply.starts_with('>')) return "*error*";
  context.LastReply.erase(0, 1);
  const auto& entry = context.ModuleList.at(static_cast<std::size_t>(entryIndex));
  return protocol::readingToEngineering(context.LastReply, entry.TypeCode, entry.DataFormat);
}

}  // namespace

std::string ReadAnalogValue(AdminContext& context, int entryIndex, int channel) {
  context.LastCommand = analogCommand(context, entryIndex, channel);
  ExchangeCommand(context, entryIndex, 0, context.ReplyTimeout);
  return analogReading(context, entryIndex);
}

LinkTask<std::string> ReadAnalogValueAsync(AdminContext& context, int entryIndex, int channel) {
  context.LastCommand = analogCommand(context, entryIndex, channel);
  co_await ExchangeCommandAsync(context, entryIndex, 0, context.ReplyTimeout);
  co_return analogReading(context, entryIndex);
}

bool ReadChannelMask(AdminContext& context, int entryIndex, std::array<bool, 8>& mask) {
  context.LastCommand =
      "$" + Hex2(static_cast<unsigned>(effectiveAddress(context, entryIndex))) + "6";
  ExchangeCommand(context, entryIndex, 0, context.LongReplyTimeout);
  if (!context.LastExchangeOK || !context.LastReply.starts_with('!') ||
      context.LastReply.size() < 5)
    return false;
  const int high = HexDigitValue(charAt(context.LastReply, 3));
  const int low = HexDigitValue(charAt(context.LastReply, 4));
  for (int bit = 0; bit < 4; ++bit) {
    mask[static_cast<std::size_t>(4 + bit)] = (high >> bit) & 1;
    mask[static_cast<std::size_t>(bit)] = (low >> bit) & 1;
  }
  return true;
}

}  // namespace orvane::admin
