#include "reply_fields.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "protocol/numbers.h"

namespace orvane::driver {

namespace {

constexpr std::size_t kTextOutputSize = 30;
constexpr std::size_t kFieldWidth = 7;

}  // namespace

std::string format(const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, pattern, copy);
  va_end(copy);
  std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size() + 1, pattern, args);
  va_end(args);
  return text;
}

std::string_view textFrom(std::string_view reply, std::size_t position) {
  return position < reply.size() ? reply.substr(position) : std::string_view{};
}

int digitAt(std::string_view reply, std::size_t position) {
  char c = position < reply.size() ? reply[position] : '\0';
  return c - '0';
}

std::uint32_t hexAt(std::string_view reply, std::size_t position, std::size_t count) {
  return protocol::parseHexSkipping(textFrom(reply, position).substr(0, count));
}

long long decimalFrom(std::string_view reply, std::size_t position) {
  return protocol::integerValue(textFrom(reply, position));
}

void putText(char* buffer, std::string_view text) {
  if (!buffer) return;
  std::size_t n = std::min(text.size(), kTextOutputSize - 1);
  std::copy_n(text.begin(), n, buffer);
  buffer[n] = '\0';
}

void putField7(char* buffer, std::string_view reply, std::size_t position) {
  if (!buffer) return;
  std::string_view field = textFrom(reply, position).substr(0, kFieldWidth);
  std::fill_n(buffer, kFieldWidth + 1, '\0');
  std::copy(field.begin(), field.end(), buffer);
}

}  // namespace orvane::driver
