#include "rfc2217_line.h"

#include <algorithm>

namespace orvane::serial {

namespace {

using namespace telnet;
using namespace telnet::comport;

constexpr std::uint8_t kDataBits = 8;

struct Setting {
  std::uint8_t command;
  std::string value;
  const char* what;
};

std::string bigEndian(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string byte(std::uint8_t value) { return std::string(1, static_cast<char>(value)); }

std::uint8_t parityCode(Parity parity) {
  switch (parity) {
    case Parity::Odd:
      return kParityOdd;
    case Parity::Even:
      return kParityEven;
    case Parity::None:
      break;
  }
  return kParityNone;
}

std::string baudRateText(std::string_view value) {
  std::uint32_t rate = 0;
  for (char c : value) rate = rate << 8 | static_cast<std::uint8_t>(c);
  return std::to_string(rate);
}

std::string codeText(std::uint8_t code, std::initializer_list<const char*> names) {
  if (code >= 1 && code <= names.size()) return *(names.begin() + (code - 1));
  return "code " + std::to_string(code);
}

// A setting's value as a message names it.
std::string valueText(std::uint8_t command, std::string_view value) {
  if (command == kSetBaudRate && value.size() == 4) return baudRateText(value);
  if (value.size() != 1) return "an answer of " + std::to_string(value.size()) + " bytes";
  const auto code = static_cast<std::uint8_t>(value.front());
  if (command == kSetDataSize) return std::to_string(code) + " bits";
  if (command == kSetParity) return codeText(code, {"none", "odd", "even", "mark", "space"});
  return codeText(code, {"1", "2", "1½"});
}

}  // namespace

Rfc2217Line::Rfc2217Line(std::string url, const NetworkLineName& name)
    : NetworkLine(std::move(url), name) {
  negotiate();
}

void Rfc2217Line::negotiate() {
  const auto deadline = Clock::now() + name_.timeout;
  if (!sendAll(options_.requests(), deadline))
    throw SerialError(device() + ": the server takes nothing");
  const auto settled = [this] {
    return options_.local(kBinary) != Options::State::Asked &&
           options_.remote(kBinary) != Options::State::Asked &&
           options_.local(kComPort) != Options::State::Asked;
  };
  if (!receiveUntil(settled, deadline))
    throw SerialError(device() + ": no Telnet answer from the server within " +
                      name_.timeoutText() + "; for a raw TCP port write socket://" +
                      name_.address());
  if (options_.local(kComPort) != Options::State::Yes)
    throw SerialError(device() +
                      ": the server refuses the COM port option (RFC 2217), so the line "
                      "settings cannot be set; for a raw TCP port write socket://" +
                      name_.address());
  if (options_.local(kBinary) != Options::State::Yes ||
      options_.remote(kBinary) != Options::State::Yes)
    throw SerialError(device() + ": the server refuses binary transmission");
}

void Rfc2217Line::doConfigure(int baudRate, Parity parity) {
  requireSupportedRate(baudRate);
  const Setting settings[] = {
      {kSetBaudRate, bigEndian(static_cast<std::uint32_t>(baudRate)), "the baud rate"},
      {kSetDataSize, byte(kDataBits), "the data size"},
      {kSetParity, byte(parityCode(parity)), "the parity"},
      {kSetStopSize, byte(kOneStopBit), "the stop bits"},
  };
  std::string frames;
  for (const auto& setting : settings) {
    answers_[setting.command].reset();
    frames += subnegotiation(kComPort, byte(setting.command) + setting.value);
  }
  const auto deadline = Clock::now() + name_.timeout;
  const auto confirmed = [&] {
    return std::all_of(std::begin(settings), std::end(settings),
                       [this](const Setting& s) { return answers_[s.command].has_value(); });
  };
  if (sendAll(frames, deadline)) receiveUntil(confirmed, deadline);
  for (const auto& setting : settings) {
    const auto& answer = answers_[setting.command];
    if (!answer)
      throw SerialError(device() + ": the server did not confirm " + setting.what + " within " +
                        name_.timeoutText());
    if (*answer != setting.value)
      throw SerialError(device() + ": the server set " + setting.what + " to " +
                        valueText(setting.command, *answer) + " instead of " +
                        valueText(setting.command, setting.value));
  }
}

void Rfc2217Line::doPurge() { requestPurge(kPurgeBoth); }

void Rfc2217Line::doPurgeInput() { requestPurge(kPurgeReceived); }

void Rfc2217Line::requestPurge(std::uint8_t what) {
  discardInput();
  sendQuietly(subnegotiation(kComPort, byte(kPurgeData) + byte(what)));
  if (purgesConfirmed_) purgeSent_ = Clock::now();
}

void Rfc2217Line::dropDtr() {
  sendQuietly(subnegotiation(kComPort, byte(kSetControl) + byte(kDtrOff)));
}

void Rfc2217Line::received(std::string_view bytes) {
  std::vector<Piece> pieces;
  decoder_.feed(bytes, pieces);
  std::string answers;
  for (auto& piece : pieces) {
    if (auto* data = std::get_if<std::string>(&piece))
      take(std::move(*data));
    else if (const auto* negotiation = std::get_if<Negotiation>(&piece))
      answers += options_.answer(*negotiation);
    else
      take(std::get<Subnegotiation>(piece));
  }
  if (!answers.empty()) sendQuietly(answers);
}

bool Rfc2217Line::fenced() const {
  return purgeSent_ && Clock::now() - *purgeSent_ < name_.timeout;
}

void Rfc2217Line::take(std::string data) {
  if (!fenced()) input_.insert(input_.end(), data.begin(), data.end());
}

void Rfc2217Line::take(const Subnegotiation& command) {
  if (command.option != kComPort || command.payload.empty()) return;
  const auto code = static_cast<std::uint8_t>(command.payload.front());
  if (code == kPurgeData + kServerOffset) {
    purgesConfirmed_ = true;
    purgeSent_.reset();
  } else if (code >= kServerOffset) {
    answers_[code - kServerOffset] = command.payload.substr(1);
  }
}

}  // namespace orvane::serial
