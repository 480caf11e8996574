// The output commands, shown values and input read of the 7347 test window:
// four bars from -32767 to 32767 drive the outputs A to D from -10 V to
// +10 V; "$AA8" reads the seven digital inputs.
#pragma once

#include <optional>
#include <string>

namespace orvane::admin {

inline constexpr int kN47ScrollMax = 32767;  // the bars run from -kN47ScrollMax
inline constexpr int kN47Outputs = 4;
inline constexpr int kN47Inputs = 7;

// The output at a bar position in volts.
float n47OutputValue(int position);

// The output at a bar position as the window shows it ("-10.000", "5.000"),
// with the user's decimal separator.
std::string n47ShownValue(int position, char decimalSeparator);

// What follows "#AA" to set output 0..3 (A to D) to the bar position: the
// letter, the sign and the volts with two digits before the point
// ("B+05.000", "D-10.000"). Always "." as the decimal point. Position 0 is
// 0 V, where the window puts every output when it opens.
std::string n47OutputBody(int output, int position);

// The input lines of a "$AA8" reply: "!" and the two hexadecimal digits of
// the lines, 7 characters in all; nothing for any other reply.
std::optional<unsigned> n47Inputs(bool exchangeOK, const std::string& reply);

}  // namespace orvane::admin
