// orvio's reply field decoders. The first byte is the position, the second a
// field length, the rest the reply. The output buffers carry canaries before
// and after their documented size: a byte written outside it aborts.
#include <array>
#include <string>

#include "fuzz_check.h"
#include "reply_fields.h"

namespace {

using namespace orvane::driver;
using orvane::fuzz::require;

constexpr std::size_t kCanary = 16;
constexpr char kPattern = '\xA5';

// A caller's buffer of the documented size with a canary on each side.
template <std::size_t N>
class GuardedBuffer {
 public:
  GuardedBuffer() { bytes_.fill(kPattern); }
  char* data() { return bytes_.data() + kCanary; }
  void checkCanaries() const {
    for (std::size_t i = 0; i < kCanary; ++i)
      require(bytes_[i] == kPattern && bytes_[kCanary + N + i] == kPattern,
              "nothing is written outside the caller's buffer");
  }

 private:
  std::array<char, N + 2 * kCanary> bytes_;
};

std::uint32_t hexDigitsOf(std::string_view window) {
  std::uint32_t value = 0;
  for (char c : window) {
    if (c >= '0' && c <= '9') value = value * 16 + static_cast<std::uint32_t>(c - '0');
    if (c >= 'A' && c <= 'F') value = value * 16 + static_cast<std::uint32_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') value = value * 16 + static_cast<std::uint32_t>(c - 'a' + 10);
  }
  return value;
}

void checkDecoders(std::string_view reply, std::size_t position, std::size_t count) {
  const std::string_view rest = textFrom(reply, position);
  if (position < reply.size())
    require(rest.data() == reply.data() + position && rest.size() == reply.size() - position,
            "textFrom is the rest of the reply");
  else
    require(rest.empty(), "textFrom past the end is empty");
  const char at = position < reply.size() ? reply[position] : '\0';
  require(digitAt(reply, position) == at - '0', "digitAt reads one character");
  require(hexAt(reply, position, count) == hexDigitsOf(rest.substr(0, count)),
          "hexAt reads the hex digits of its window");
  decimalFrom(reply, position);
}

void checkPutText(std::string_view text) {
  GuardedBuffer<30> buffer;
  putText(buffer.data(), text);
  buffer.checkCanaries();
  const std::size_t n = std::min<std::size_t>(text.size(), 29);
  require(std::string_view(buffer.data(), n) == text.substr(0, n) && buffer.data()[n] == '\0',
          "putText copies at most 29 characters and ends them");
  putText(nullptr, text);
}

void checkPutField7(std::string_view reply, std::size_t position) {
  GuardedBuffer<8> buffer;
  putField7(buffer.data(), reply, position);
  buffer.checkCanaries();
  const std::string_view field = textFrom(reply, position).substr(0, 7);
  require(std::string_view(buffer.data(), field.size()) == field, "putField7 copies the field");
  for (std::size_t i = field.size(); i < 8; ++i)
    require(buffer.data()[i] == '\0', "putField7 fills with zeros to index 7");
  putField7(nullptr, reply, position);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t position = data[0];
  const std::size_t count = data[1] % 12;
  const std::string_view reply = orvane::fuzz::textOf(data + 2, size - 2);
  checkDecoders(reply, position, count);
  checkPutText(reply);
  checkPutText(textFrom(reply, position));
  checkPutField7(reply, position);
  return 0;
}
