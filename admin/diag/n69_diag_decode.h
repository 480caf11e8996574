// Commands and reply decoding of the 7469 test window. The module has ports
// A, B and C, port C split into a high half CH and a low half CL; each of the
// four groups is an input or an output. Groups are numbered as their frames:
// 0 A, 1 B, 2 CH, 3 CL. Command bodies come without the lead "#" and the
// address; the window sends "#" + AA + body.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace orvane::admin {

inline constexpr int kN69Groups = 4;

// The port directions of a "$AA6" reply: bit 3 A, 2 B, 1 CH, 0 CL, 1 for an
// input. Only a "!" reply of exactly 11 hexadecimal characters after the
// lead counts, so neither a refusal nor another model's 7-character reply is
// taken as directions.
std::optional<int> n69Directions(bool exchangeOK, const std::string& reply);
bool n69IsInput(int directions, int group);

// What a "$AA6" reply reads: the isolated inputs and the three port bytes
// (output groups read back what they drive). Valid as for the directions.
struct N69Inputs {
  unsigned isolated = 0;
  std::array<unsigned, 3> ports{};  // A, B, C
};
std::optional<N69Inputs> n69Inputs(bool exchangeOK, const std::string& reply);

// A group's lamps: 8 for A and B, 4 for CH and CL.
int n69LampCount(int group);

// Where lamp n of a group sits in the output state: the port (0 A, 1 B,
// 2 C) and its bit there (CH lamp n is bit n + 4 of port C).
struct N69PortBit {
  int port = 0;
  int bit = 0;
};
N69PortBit n69PortBit(int group, int n);

// The lamp states of a group from a read: bit n is lamp n.
unsigned n69GroupBits(const N69Inputs& inputs, int group);

// The whole port written at once: "0A" + value as two hexadecimal digits.
std::string n69PortBody(int port, unsigned value);

// Every output of the three ports off.
inline constexpr const char* kN69OutputsOffBody = "T000000";

}  // namespace orvane::admin
