#include "serial/telnet.h"

#include <utility>

namespace orvane::serial::telnet {

namespace {

// The longest payload the COM port option sends is a baud rate: command and
// four bytes. Anything much longer is no subnegotiation we understand.
constexpr std::size_t kLongestSubnegotiation = 64;

bool weOffer(std::uint8_t option) {
  return option == kBinary || option == kSuppressGoAhead || option == kComPort;
}

bool weAskFor(std::uint8_t option) { return option == kBinary || option == kSuppressGoAhead; }

void flushData(std::string& data, std::vector<Piece>& pieces) {
  if (data.empty()) return;
  pieces.emplace_back(std::move(data));
  data.clear();
}

}  // namespace

void Decoder::feed(std::string_view bytes, std::vector<Piece>& pieces) {
  std::string data;
  for (char c : bytes) take(static_cast<std::uint8_t>(c), data, pieces);
  flushData(data, pieces);
}

void Decoder::take(std::uint8_t byte, std::string& data, std::vector<Piece>& pieces) {
  switch (state_) {
    case State::Data:
      if (byte == kIac)
        state_ = State::Iac;
      else
        data.push_back(static_cast<char>(byte));
      return;
    case State::Iac:
      state_ = State::Data;
      if (byte == kIac) {
        data.push_back(static_cast<char>(byte));
      } else if (byte >= kWill) {
        verb_ = byte;
        state_ = State::Option;
      } else if (byte == kSb) {
        sub_.clear();
        state_ = State::Sub;
      }
      return;
    case State::Option:
      flushData(data, pieces);
      pieces.emplace_back(Negotiation{verb_, byte});
      state_ = State::Data;
      return;
    case State::Sub:
      if (byte == kIac)
        state_ = State::SubIac;
      else if (sub_.size() <= kLongestSubnegotiation)
        sub_.push_back(static_cast<char>(byte));
      return;
    case State::SubIac:
      if (byte == kIac) {
        if (sub_.size() <= kLongestSubnegotiation) sub_.push_back(static_cast<char>(byte));
        state_ = State::Sub;
        return;
      }
      state_ = State::Data;
      if (byte != kSe) {
        // A command inside a subnegotiation ends it unfinished.
        take(kIac, data, pieces);
        take(byte, data, pieces);
        return;
      }
      if (sub_.empty() || sub_.size() > kLongestSubnegotiation) return;
      flushData(data, pieces);
      pieces.emplace_back(Subnegotiation{static_cast<std::uint8_t>(sub_.front()), sub_.substr(1)});
      return;
  }
}

std::string escape(std::string_view data) {
  std::string escaped;
  escaped.reserve(data.size());
  for (char c : data) {
    escaped.push_back(c);
    if (static_cast<std::uint8_t>(c) == kIac) escaped.push_back(c);
  }
  return escaped;
}

std::string negotiation(std::uint8_t verb, std::uint8_t option) {
  return {static_cast<char>(kIac), static_cast<char>(verb), static_cast<char>(option)};
}

std::string subnegotiation(std::uint8_t option, std::string_view payload) {
  std::string bytes{static_cast<char>(kIac), static_cast<char>(kSb), static_cast<char>(option)};
  bytes += escape(payload);
  bytes += static_cast<char>(kIac);
  bytes += static_cast<char>(kSe);
  return bytes;
}

std::string Options::requests() {
  std::string bytes;
  for (std::uint8_t option : {kBinary, kSuppressGoAhead, kComPort}) {
    local_[option] = State::Asked;
    bytes += negotiation(kWill, option);
    if (!weAskFor(option)) continue;
    remote_[option] = State::Asked;
    bytes += negotiation(kDo, option);
  }
  return bytes;
}

std::string Options::answer(const Negotiation& received) {
  const std::uint8_t option = received.option;
  const bool aboutUs = received.verb == kDo || received.verb == kDont;
  State& state = aboutUs ? local_[option] : remote_[option];
  const bool wanted = aboutUs ? weOffer(option) : weAskFor(option);
  const std::uint8_t yes = aboutUs ? kWill : kDo;
  const std::uint8_t no = aboutUs ? kWont : kDont;
  if (received.verb == kDo || received.verb == kWill) {
    if (state == State::Yes) return {};
    if (state == State::Asked) {
      state = State::Yes;
      return {};
    }
    if (!wanted) return negotiation(no, option);
    state = State::Yes;
    return negotiation(yes, option);
  }
  if (state == State::Yes) {
    state = State::No;
    return negotiation(no, option);
  }
  if (state == State::Asked) state = State::Refused;
  return {};
}

}  // namespace orvane::serial::telnet
