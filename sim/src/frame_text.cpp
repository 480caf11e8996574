#include "frame_text.h"

#include "protocol/numbers.h"

namespace orvane::sim {

std::string printable(std::string_view bytes) {
  std::string text;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\r')
      text += "<CR>";
    else if (byte < 0x20 || byte >= 0x7F)
      text += "<" + protocol::hex2(byte) + ">";
    else
      text += c;
  }
  return text;
}

}  // namespace orvane::sim
