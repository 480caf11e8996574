// One frame as a module sees it, and the shapes of the replies it gives.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvane::sim {

struct Command {
  char lead = 0;
  std::string address;  // the two address characters as received
  std::string body;     // everything after the address, checksum removed
};

// The reply text without checksum and CR; nullopt when the command is not one
// the handler knows (a family handler) or when no reply is sent.
using Reply = std::optional<std::string>;

inline std::string accepted(const Command& c, std::string_view data = {}) {
  return "!" + c.address + std::string(data);
}
inline std::string refused(const Command& c) { return "?" + c.address; }
inline std::string dataReply(std::string_view data) { return ">" + std::string(data); }

// True when the body is the text followed by exactly n characters out of the set.
bool hasSuffix(std::string_view body, std::string_view head, std::size_t n, std::string_view set);
bool allHex(std::string_view text);
bool allDigits(std::string_view text);
// Hex digits of either case; -1 for anything else.
int hexDigit(char c);

}  // namespace orvane::sim
