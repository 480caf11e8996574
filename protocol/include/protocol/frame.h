// Command frames and replies of the Orvane module protocol.
//
// A command is a lead character, two address digits and a body; on the wire it
// carries an optional two-digit checksum and ends with a carriage return.
// Replies carry the same optional checksum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::protocol {

inline constexpr char kCarriageReturn = '\r';

// No module reply is longer than 24 characters with its checksum. A reply
// that grows past this cap without its carriage return is no module
// answering (a line that streams, or a module that trickles characters
// without end): both products stop reading and count the reply as garbled,
// however slowly it comes. The margin leaves room for the data pass of a
// converter, whose device behind it may answer longer than a module.
inline constexpr std::size_t kReplyLengthCap = 64;

// Sum of the character codes modulo 256.
std::uint8_t checksum(std::string_view text);

// The checksum as two upper-case hexadecimal digits ("B8").
std::string checksumDigits(std::string_view text);

// The frame to write: the command, its checksum when in use, and CR.
std::string completeCommand(std::string_view command, bool withChecksum);

// Which checksum digits a reply check accepts. The library reads only 0-9 and
// A-F (any other character counts as 0 for its half of the byte); the utility
// also reads a-f.
enum class DigitRule { UpperCaseOnly, AnyCase };

// Checks a reply received up to (not including) its CR. Without checksum the
// text is handed back as it is. With checksum the last two characters are the
// digits: a match gives the text without them, a mismatch (or a reply shorter
// than two characters) gives nullopt.
std::optional<std::string> checkReply(std::string_view received, bool withChecksum,
                                      DigitRule rule);

// "?" is a refusal; every other lead counts as accepted.
bool isRefusal(std::string_view reply);

// A command addressed "00" is always sent without checksum and its reply is
// used unchecked: the address of a module in its initialization state.
bool isAddressZero(std::string_view command);

// The two broadcasts "#**" and "~**", which no module answers.
bool isBroadcast(std::string_view command);

}  // namespace orvane::protocol
