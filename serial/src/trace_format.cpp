#include <cstdio>
#include <ctime>

#include "serial/line_trace.h"

namespace orvane::serial {

namespace {

using std::chrono::microseconds;

// "<" is shown by its code too, so that "<CR>" in a trace is always a
// carriage return.
bool shownAsItIs(unsigned char byte) { return byte >= 0x20 && byte <= 0x7E && byte != '<'; }

std::string localTimeText(std::chrono::system_clock::time_point at) {
  const auto sinceEpoch = std::chrono::duration_cast<microseconds>(at.time_since_epoch()).count();
  const std::time_t seconds = static_cast<std::time_t>(sinceEpoch / 1000000);
  std::tm local{};
  ::localtime_r(&seconds, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%06lld", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<long long>(sinceEpoch % 1000000));
  return text;
}

// Milliseconds with their microseconds, "." whatever the locale.
std::string delayText(const TraceEvent& event) {
  if (!event.delay) return "";
  const long long us = event.delay->count();
  char text[48];
  std::snprintf(text, sizeof text, "  %lld.%03lld ms", us / 1000, us % 1000);
  return text;
}

std::string parityText(Parity parity) {
  switch (parity) {
    case Parity::Odd:
      return "odd parity";
    case Parity::Even:
      return "even parity";
    case Parity::None:
      break;
  }
  return "no parity";
}

std::string purgeText(const TraceEvent& event) {
  std::string text =
      event.inputOnly ? "* purge: input discarded" : "* purge: input and output discarded";
  if (event.dropped == 1) return text + " (1 byte unread)";
  if (event.dropped > 1) text += " (" + std::to_string(event.dropped) + " bytes unread)";
  return text;
}

std::string baudText(const TraceEvent& event) {
  const std::string rate = std::to_string(event.baudRate) + " bps";
  if (event.fixedSpeed) return "* line at the device server's fixed speed (" + rate + " asked)";
  return "* line set to " + rate + ", " + parityText(event.parity);
}

std::string eventText(const TraceEvent& event) {
  switch (event.kind) {
    case TraceKind::Sent:
      return "> " + traceFrameText(event.bytes) + delayText(event);
    case TraceKind::Received:
      return "< " + traceFrameText(event.bytes) + delayText(event);
    case TraceKind::TimedOut:
      return (event.bytes.empty()
                  ? std::string("! time-out: no reply")
                  : "! time-out: the reply broke off after " + traceFrameText(event.bytes)) +
             delayText(event);
    case TraceKind::ChecksumFailed:
      return "! checksum failure in the reply " + traceFrameText(event.bytes);
    case TraceKind::Purged:
      return purgeText(event);
    case TraceKind::BaudChanged:
      return baudText(event);
  }
  return "";
}

}  // namespace

std::string traceFrameText(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\r') {
      text += "<CR>";
    } else if (byte == '\n') {
      text += "<LF>";
    } else if (shownAsItIs(byte)) {
      text += c;
    } else {
      char code[8];
      std::snprintf(code, sizeof code, "<0x%02X>", byte);
      text += code;
    }
  }
  return text;
}

std::string formatTraceLine(const TraceEvent& event) {
  return localTimeText(event.at) + ' ' + event.port + ' ' + eventText(event);
}

}  // namespace orvane::serial
