#include "command.h"

namespace orvane::sim {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool allHex(std::string_view text) {
  for (char c : text)
    if (hexDigit(c) < 0) return false;
  return !text.empty();
}

bool allDigits(std::string_view text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return !text.empty();
}

bool hasSuffix(std::string_view body, std::string_view head, std::size_t n, std::string_view set) {
  if (body.size() != head.size() + n || body.substr(0, head.size()) != head) return false;
  for (char c : body.substr(head.size()))
    if (set.find(c) == std::string_view::npos) return false;
  return true;
}

}  // namespace orvane::sim
