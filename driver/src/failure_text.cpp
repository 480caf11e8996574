#include "failure_text.h"

#include <algorithm>
#include <cstdio>

#include "reply_fields.h"

namespace orvane::driver {

namespace {

constexpr std::size_t kQuotedLength = 40;

bool continuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The length of the longest start of the text that fits the limit and does
// not end inside a character.
std::size_t fittingLength(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t length = limit;
  while (length > 0 && continuationByte(text[length])) --length;
  return length;
}

}  // namespace

void noteFailure(PortSlot& slot, std::size_t port, std::string_view text) {
  std::string labelled = (port == 0 ? std::string("port 0") : format("COM%zu", port)) + ": ";
  labelled += text;
  copyText(labelled, slot.failure.data(), slot.failure.size());
}

void noteOnSuccess(PortSlot& slot, std::size_t port, std::string_view text) {
  noteFailure(slot, port, text);
  slot.noteKept = true;
}

void settleFailure(PortSlot& slot, std::size_t port, std::uint16_t status) {
  if (status == 0) {
    if (!slot.noteKept) slot.failure[0] = '\0';
  } else if (slot.failure[0] == '\0') {
    noteFailure(slot, port, format("failed with status 0x%04X", status));
  }
}

void copyText(std::string_view text, char* out, std::size_t size) {
  if (!out || size == 0) return;
  const std::size_t length = fittingLength(text, size - 1);
  std::copy_n(text.begin(), length, out);
  out[length] = '\0';
}

std::string quoted(std::string_view bytes) {
  std::string shown = "\"";
  for (char c : bytes.substr(0, kQuotedLength)) {
    const auto code = static_cast<unsigned char>(c);
    if (c == '\r')
      shown += "<CR>";
    else if (code < 0x20 || code == 0x7F)
      shown += format("<%02X>", code);
    else
      shown += c;
  }
  return shown + (bytes.size() > kQuotedLength ? "...\"" : "\"");
}

}  // namespace orvane::driver
