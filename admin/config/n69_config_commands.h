// The port directions of the 7469 as plain functions: the mask read from
// "$AA6" and the mask the four port rows make.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace orvane::admin {

// The direction mask (bit 3 Port A, 2 Port B, 1 Port CH, 0 Port CL;
// 1 = input) in a "$AA6" reply. Only a confirmed reply counts: the exchange
// succeeded, the reply starts with "!" and its next two characters are
// hexadecimal digits. A "?AA" refusal or a cut reply is no mask.
std::optional<int> portDirectionsFromReply(bool exchangeOK, const std::string& reply);

// The mask of the rows Port A, B, CH, CL (true = input). Nothing when a
// row has no choice: a mask with a guessed row would turn that port into
// an output.
std::optional<int> portDirectionMask(const std::array<std::optional<bool>, 4>& inputRows);

}  // namespace orvane::admin
