#include <algorithm>
#include <ctime>

#include "serial/line_trace.h"

namespace orvane::serial {

namespace {

using std::chrono::microseconds;

// "<" is shown by its code too, so that "<CR>" in a trace is always a
// carriage return.
bool shownAsItIs(unsigned char byte) { return byte >= 0x20 && byte <= 0x7E && byte != '<'; }

// Digits by hand: a trace line is written for every frame, and printf's
// format parsing would be most of its cost.
void appendNumber(std::string& text, long long value, int width) {
  char digits[24];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0);
  text.append(static_cast<std::size_t>(std::max(width - count, 0)), '0');
  while (count > 0) text += digits[--count];
}

void appendLocalTime(std::string& text, std::chrono::system_clock::time_point at) {
  const auto sinceEpoch = std::chrono::duration_cast<microseconds>(at.time_since_epoch()).count();
  const std::time_t seconds = static_cast<std::time_t>(sinceEpoch / 1000000);
  std::tm local{};
  ::localtime_r(&seconds, &local);
  const struct {
    long long value;
    int width;
    char after;
  } fields[] = {
      {local.tm_year + 1900, 4, '-'}, {local.tm_mon + 1, 2, '-'}, {local.tm_mday, 2, ' '},
      {local.tm_hour, 2, ':'},        {local.tm_min, 2, ':'},     {local.tm_sec, 2, '.'},
  };
  for (const auto& field : fields) {
    appendNumber(text, field.value, field.width);
    text += field.after;
  }
  appendNumber(text, sinceEpoch % 1000000, 6);
}

// Milliseconds with their microseconds, "." whatever the locale.
std::string delayText(const TraceEvent& event) {
  if (!event.delay) return "";
  const long long us = event.delay->count();
  std::string text = "  ";
  appendNumber(text, us / 1000, 1);
  text += '.';
  appendNumber(text, us % 1000, 3);
  return text + " ms";
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
      constexpr char kHex[] = "0123456789ABCDEF";
      text += "<0x";
      text += kHex[byte >> 4];
      text += kHex[byte & 0xF];
      text += '>';
    }
  }
  return text;
}

std::string formatTraceLine(const TraceEvent& event) {
  std::string line;
  line.reserve(64 + event.port.size() + 2 * event.bytes.size());
  appendLocalTime(line, event.at);
  line += ' ';
  line += event.port;
  line += ' ';
  line += eventText(event);
  return line;
}

}  // namespace orvane::serial
