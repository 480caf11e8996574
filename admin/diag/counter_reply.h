// The count or frequency of one channel of the counter/frequency module, as
// its test windows read it with "#AAcD" and show it in plain decimal.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orvane::admin {

// The read of channel c (0 or 1) without the lead "#" and the address: "0D".
std::string counterReadBody(int channel);

// The value of a "#AAcD" reply: ">" followed by 1 to 10 decimal digits and
// nothing else. Anything else (a refusal, a cut or garbled reply) is no
// value, so the window keeps what it showed instead of showing 0.
std::optional<std::uint64_t> counterValue(bool exchangeOK, const std::string& reply);

}  // namespace orvane::admin
