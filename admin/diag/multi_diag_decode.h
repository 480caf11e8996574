// Commands and reply decoding of the multi-function test window (7213, 7215,
// 7228). Command bodies come without the lead "@" and the address; the window
// sends "@" + AA + body.
#pragma once

#include <optional>
#include <string>

namespace orvane::admin {

// What "@AADI" reads: the alarm mode, the two outputs (bit 0 output 0, bit 1
// output 1) and the digital input.
struct MultiStatus {
  int alarmMode = 0;
  unsigned outState = 0;
  char digitalInput = '0';
};

// The status of a "@AADI" reply. It counts only as a "!" reply of exactly 8
// characters with a decimal alarm-mode digit at position 3, two hexadecimal
// output digits at 4-5 and a decimal input digit at 6.
std::optional<MultiStatus> multiStatus(bool exchangeOK, const std::string& reply);

// The event count of a "@AARE" reply: five decimal digits at positions 3-7
// of a "!" reply of exactly 8 characters.
std::optional<unsigned> multiEventCount(bool exchangeOK, const std::string& reply);

// Output lamp 0 is lit by bit 0 of the output state, lamp 1 by a state of 2
// or more.
bool multiOutputLit(unsigned outState, int output);

// The output state after a click on output lamp 0 or 1: that output
// switched, the other one kept.
unsigned multiToggled(unsigned outState, int output);

// "DO" + the output state as two upper-case hexadecimal digits.
std::string multiOutputBody(unsigned outState);

// An alarm limit as the window shows it: "###0.0000" with the user's
// decimal separator.
std::string alarmLimitText(double value, char decimalSeparator);

}  // namespace orvane::admin
