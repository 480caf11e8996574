// Commands and reply decoding of the digital I/O test window, by the model's
// 3-character code ("451", "458", ...). Command bodies come without the lead
// "#" and the address; the window sends "#" + AA + body.
#pragma once

#include <optional>
#include <string>

namespace orvane::admin {

// The bits the window shows: inputs 0 .. inputs - 1, outputs 0 .. outputs - 1.
struct DioBits {
  int inputs = 0;
  int outputs = 0;
};
DioBits dioBitsShown(const std::string& key);

// The input bits of a "$AA6" reply. It counts only as a "!" reply of exactly
// 7 characters whose input digits are hexadecimal; an output-only model's
// reply gives 0.
std::optional<unsigned> dioInputValue(const std::string& key, bool exchangeOK,
                                      const std::string& reply);

// Every output off ("0000", or "T0000" for the 7458's two bytes); empty for
// the input-only models, which get no command.
std::string dioOutputsOffBody(const std::string& key);

// Output n to the level (0 or 1): "1" + n + "00"/"01", or for the 7458 "L"
// or "H" + the line within its byte + one level digit; empty for a model
// without outputs.
std::string dioOutputBody(const std::string& key, int n, int level);

}  // namespace orvane::admin
