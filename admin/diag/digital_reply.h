// Reply reading the digital test windows share: hexadecimal fields that must
// really be digits, and whether the module took an output write.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace orvane::admin {

// The characters at the position read as hexadecimal digits; nothing when
// the reply is too short or one of them is not a digit.
std::optional<unsigned> hexField(const std::string& reply, std::size_t position,
                                 std::size_t length);

// An output write counts as taken unless the exchange failed, nothing came
// back, or the module refused it ("?AA"). A window switches its lamp and its
// held output state back when the write was not taken, so that its next
// write never carries a bit the module did not take.
bool outputWriteTaken(bool exchangeOK, const std::string& reply);

}  // namespace orvane::admin
