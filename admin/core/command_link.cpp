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

// Writes LastCommand. A write that finds the adapter gone reached no
// module: the device is opened again at once and the command goes out once
// more.
void sendCommand(AdminContext& context, const LinkParameters& link) {
  try {
    WriteCommand(context, context.LastCommand, link.checksumFlag, link.baudCode);
    return;
  } catch (const serial::DeviceDisconnected&) {
    if (!context.OrvComm.isOpen(context.ComPort)) throw;  // opening it again failed
    context.OrvComm.lose(context.ComPort);
  }
  WriteCommand(context, context.LastCommand, link.checksumFlag, link.baudCode);
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

void SetPortBaud(AdminContext& context, int port, int baudCode) {
  if (port < 1 || port > kComPortCount)
    throw serial::SerialError("COM" + std::to_string(port) + ": no such port");
  auto& current = context.PortBaudCode.at(static_cast<std::size_t>(port - 1));
  if (context.OrvComm.fixedSpeed(port)) {
    const int speed = fixedSpeedBaudCode(context, port);
    if (current != speed) context.OrvComm.port(port).configure(rateOf(speed));
    current = speed;
    if (rateOf(baudCode) != rateOf(speed))
      context.LastLinkNote = fixedSpeedText(port, rateOf(baudCode));
    return;
  }
  if (baudCode == current) return;
  context.OrvComm.port(port).configure(rateOf(baudCode), serial::Parity::None);
  current = baudCode;
  context.ui().pause(context.baudSettlePause);
}

void WriteCommand(AdminContext& context, const std::string& command, int checksumFlag,
                  int baudCode) {
  // A lost line is opened again here, before it is set up.
  auto& line = context.OrvComm.port(context.ComPort);
  if (line.hungUp()) throw serial::DeviceDisconnected(line.device() + ": device disconnected");
  SetPortBaud(context, context.ComPort, baudCode);
  line.purgeInput();
  const std::string frame = protocol::completeCommand(trimmedCommand(command), checksumFlag == 1);
  if (!line.write(frame, kWriteTimeout))
    throw serial::SerialError(line.device() + ": the line did not take the command");
}

bool ReadReply(AdminContext& context, std::string& reply, int checksumFlag, int delayMs,
               int timeoutMs) {
  if (delayMs > 0) context.ui().pause(std::chrono::milliseconds(delayMs));
  reply.clear();
  auto& line = context.OrvComm.port(context.ComPort);
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

bool Exchange(AdminContext& context, const LinkParameters& link, int delayMs, int timeoutMs) {
  // A window polling on a timer must not end the program when the port is
  // closed or the adapter is pulled out: the exchange simply fails.
  const auto fail = [&context](const char* text) {
    context.LastReply.clear();
    context.LastExchangeOK = false;
    context.LastLinkError = text;
  };
  context.LastLinkNote.clear();
  try {
    sendCommand(context, link);
    context.LastExchangeOK =
        ReadReply(context, context.LastReply, link.checksumFlag, delayMs, timeoutMs);
    context.LastLinkError.clear();
  } catch (const serial::DeviceDisconnected& failure) {
    fail(failure.what());
    // Found while reading: the module may have carried the command out, so
    // it is not sent again; the next exchange opens the device again.
    if (context.OrvComm.isOpen(context.ComPort)) {
      context.OrvComm.lose(context.ComPort);
      context.LastLinkError = context.OrvComm.disconnectedText(context.ComPort);
    }
  } catch (const serial::SerialError& failure) {
    fail(failure.what());
  }
  return context.LastExchangeOK;
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

std::string ReadAnalogValue(AdminContext& context, int entryIndex, int channel) {
  const auto& entry = context.ModuleList.at(static_cast<std::size_t>(entryIndex));
  context.LastCommand = "#" + Hex2(static_cast<unsigned>(effectiveAddress(context, entryIndex)));
  if (protocol::channelCount(entry.ModelName) > 1) context.LastCommand += std::to_string(channel);
  ExchangeCommand(context, entryIndex, 0, context.ReplyTimeout);
  if (!context.LastExchangeOK || !context.LastReply.starts_with('>')) return "*error*";
  context.LastReply.erase(0, 1);
  return protocol::readingToEngineering(context.LastReply, entry.TypeCode, entry.DataFormat);
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
