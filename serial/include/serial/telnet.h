// The Telnet layer of a network line (RFC 854, 855, 856, 858) and the
// commands of the COM port option (RFC 2217).
//
// Bytes from the server are split into data and commands, in the order they
// came; a command or a doubled IAC may be cut anywhere between two reads.
// Data going out has every 0xFF doubled.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvane::serial::telnet {

inline constexpr std::uint8_t kSe = 240;
inline constexpr std::uint8_t kSb = 250;
inline constexpr std::uint8_t kWill = 251;
inline constexpr std::uint8_t kWont = 252;
inline constexpr std::uint8_t kDo = 253;
inline constexpr std::uint8_t kDont = 254;
inline constexpr std::uint8_t kIac = 255;

inline constexpr std::uint8_t kBinary = 0;
inline constexpr std::uint8_t kEcho = 1;
inline constexpr std::uint8_t kSuppressGoAhead = 3;
inline constexpr std::uint8_t kComPort = 44;

// COM port option commands as the client sends them; the server answers a
// command with its number plus kServerOffset.
namespace comport {
inline constexpr std::uint8_t kSetBaudRate = 1;
inline constexpr std::uint8_t kSetDataSize = 2;
inline constexpr std::uint8_t kSetParity = 3;
inline constexpr std::uint8_t kSetStopSize = 4;
inline constexpr std::uint8_t kSetControl = 5;
inline constexpr std::uint8_t kPurgeData = 12;
inline constexpr std::uint8_t kServerOffset = 100;

inline constexpr std::uint8_t kParityNone = 1;
inline constexpr std::uint8_t kParityOdd = 2;
inline constexpr std::uint8_t kParityEven = 3;
inline constexpr std::uint8_t kOneStopBit = 1;
inline constexpr std::uint8_t kDtrOff = 9;
// What PURGE-DATA discards on the server: what it received from the serial
// line and has not sent us yet, or that and what it has not yet sent out on
// the serial line.
inline constexpr std::uint8_t kPurgeReceived = 1;
inline constexpr std::uint8_t kPurgeBoth = 3;
}  // namespace comport

// IAC WILL/WONT/DO/DONT option.
struct Negotiation {
  std::uint8_t verb = 0;
  std::uint8_t option = 0;
};

// IAC SB option payload IAC SE, the payload with its doubled IACs undone.
struct Subnegotiation {
  std::uint8_t option = 0;
  std::string payload;
};

using Piece = std::variant<std::string, Negotiation, Subnegotiation>;

class Decoder {
 public:
  // Appends the data runs and commands of the bytes to `pieces`, in order.
  // Commands without a meaning for a serial line (NOP, GA, DM, ...) are
  // dropped; so is a subnegotiation longer than any the COM port option
  // sends.
  void feed(std::string_view bytes, std::vector<Piece>& pieces);

 private:
  enum class State { Data, Iac, Option, Sub, SubIac };
  void take(std::uint8_t byte, std::string& data, std::vector<Piece>& pieces);

  State state_ = State::Data;
  std::uint8_t verb_ = 0;
  std::string sub_;
};

// The data with every IAC doubled.
std::string escape(std::string_view data);
std::string negotiation(std::uint8_t verb, std::uint8_t option);
// IAC SB option payload IAC SE, IACs of the payload doubled.
std::string subnegotiation(std::uint8_t option, std::string_view payload);

// Option negotiation by the rules of RFC 854 and 1143: a side asks for an
// option once, a request for a state already in force is not answered, so
// two sides never loop. We offer and ask for BINARY and SUPPRESS-GO-AHEAD
// both ways and offer the COM port option; everything else is refused.
class Options {
 public:
  enum class State { No, Asked, Yes, Refused };

  // The requests that open a session.
  std::string requests();
  // The answer to a negotiation from the server (may be empty).
  std::string answer(const Negotiation& received);

  State local(std::uint8_t option) const { return local_[option]; }
  State remote(std::uint8_t option) const { return remote_[option]; }

 private:
  std::array<State, 256> local_{};   // what we do (WILL/WONT)
  std::array<State, 256> remote_{};  // what the server does (DO/DONT asked of it)
};

}  // namespace orvane::serial::telnet
