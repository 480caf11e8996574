// Commands and reply decoding of the counter test window (the 7586 in
// counter mode). Command bodies come without the lead and the address; the
// window sends lead + AA + body.
#pragma once

#include <optional>
#include <string>

namespace orvane::admin {

// What a "@AADI" reply tells: which alarms are enabled and which outputs are
// on, bit 0 for counter or output 0, bit 1 for 1.
struct CtrStatus {
  int alarms = 0;
  int outputs = 0;

  bool alarmEnabled(int c) const { return (alarms >> c & 1) != 0; }
  bool outputOn(int c) const { return (outputs >> c & 1) != 0; }
  // An output that is on while its alarm is enabled is on by the alarm.
  bool onByAlarm(int c) const { return outputOn(c) && alarmEnabled(c); }
};

// The status of a "@AADI" reply. It counts only as a "!" reply of exactly 6
// characters: the address, the alarm digit 0-3 at position 3 and the output
// state 00-03 in decimal at positions 4-5.
std::optional<CtrStatus> ctrStatus(bool exchangeOK, const std::string& reply);

// Start (run 1) or stop (run 0) counter c: "$AA5" + c + run.
std::string ctrRunBody(int c, int run);
// Clear counter c: "$AA6" + c.
std::string ctrClearBody(int c);
// Both outputs: "@AADO" + the output bits as two hexadecimal digits.
std::string ctrOutputBody(int outState);
// The output bits with output c switched over.
int ctrToggled(int outState, int c);

// Whether the module took a start, stop or clear: "!" and its address.
bool ctrCommandTaken(bool exchangeOK, const std::string& reply);

}  // namespace orvane::admin
