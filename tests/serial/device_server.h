// A small device server for the tests, on 127.0.0.1 in a thread of the test:
// raw TCP, or Telnet with the COM port option, with behaviours a test chooses
// (refused options, other or missing confirmations, replies with commands in
// them). It parses Telnet by itself, so that it does not share the line's
// faults.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace orvane::test {

inline std::string telnetBytes(std::initializer_list<int> values) {
  std::string text;
  for (int v : values) text.push_back(static_cast<char>(v));
  return text;
}

struct DeviceServerBehaviour {
  bool telnet = true;                   // false: raw TCP, no Telnet at all
  bool answerOptions = true;            // false: never answers a negotiation
  bool acceptComPort = true;            // false: DONT COM-PORT-OPTION
  bool confirmSettings = true;          // false: never confirms SET-BAUDRATE and the others
  std::uint32_t confirmedBaudRate = 0;  // not 0: answers SET-BAUDRATE with this rate
  bool confirmPurges = true;
  // Sent before the confirmation of each purge after the first one, as data
  // the server had read from its serial line before the purge.
  std::string beforePurgeConfirmation;
  // The reply to every frame (a CR ends a frame): steps of a pause and bytes
  // sent as they stand (a test writes the IACs it wants).
  struct Step {
    std::chrono::milliseconds pause{0};
    std::string bytes;
  };
  std::vector<Step> reply;
  bool closeAfterFrame = false;
};

class DeviceServer {
 public:
  explicit DeviceServer(DeviceServerBehaviour behaviour) : behaviour_(std::move(behaviour)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 4) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("device server: no listening socket");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
  }
  ~DeviceServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
  }
  DeviceServer(const DeviceServer&) = delete;
  DeviceServer& operator=(const DeviceServer&) = delete;

  std::string url(const std::string& scheme, const std::string& options = "") const {
    return scheme + "://127.0.0.1:" + std::to_string(port_) + options;
  }
  // The data frames received, without Telnet commands, CR included.
  std::vector<std::string> frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
  }
  // The COM port commands received: command byte and value.
  std::vector<std::string> commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
  }

 private:
  static constexpr std::uint8_t kIac = 255, kSb = 250, kSe = 240, kWill = 251, kDo = 253,
                                kDont = 254, kComPort = 44;

  void serve() {
    while (!stop_) {
      pollfd p{listener_, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0) continue;
      client_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (client_ < 0) continue;
      talk();
      ::close(client_);
    }
  }

  void talk() {
    state_ = State::Data;
    purges_ = 0;
    std::string frame;
    while (!stop_) {
      pollfd p{client_, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0) continue;
      char buffer[512];
      const ssize_t n = ::recv(client_, buffer, sizeof buffer, 0);
      if (n <= 0) return;
      for (ssize_t i = 0; i < n; ++i) {
        bool data = true;
        if (behaviour_.telnet)
          data = takeTelnet(static_cast<std::uint8_t>(buffer[i]), frame);
        else
          frame.push_back(buffer[i]);
        if (!data || frame.back() != '\r') continue;
        {
          std::lock_guard lock(mutex_);
          frames_.push_back(frame);
        }
        frame.clear();
        for (const auto& step : behaviour_.reply) {
          std::this_thread::sleep_for(step.pause);
          send(step.bytes);
        }
        if (behaviour_.closeAfterFrame) return;
      }
    }
  }

  // True when the byte added data to the frame.
  bool takeTelnet(std::uint8_t byte, std::string& frame) {
    switch (state_) {
      case State::Data:
        if (byte != kIac) {
          frame.push_back(static_cast<char>(byte));
          return true;
        }
        state_ = State::Iac;
        return false;
      case State::Iac:
        state_ = State::Data;
        if (byte == kIac) {
          frame.push_back(static_cast<char>(byte));
          return true;
        }
        if (byte == kSb) {
          sub_.clear();
          state_ = State::Sub;
        } else if (byte >= kWill) {
          verb_ = byte;
          state_ = State::Option;
        }
        return false;
      case State::Option:
        state_ = State::Data;
        negotiate(verb_, byte);
        return false;
      case State::Sub:
        if (byte == kIac)
          state_ = State::SubIac;
        else
          sub_.push_back(static_cast<char>(byte));
        return false;
      case State::SubIac:
        state_ = byte == kIac ? State::Sub : State::Data;
        if (byte == kIac) sub_.push_back(static_cast<char>(byte));
        if (byte == kSe) subnegotiation();
        return false;
    }
    return false;
  }

  void negotiate(std::uint8_t verb, std::uint8_t option) {
    if (!behaviour_.answerOptions) return;
    const bool agree = option != kComPort || behaviour_.acceptComPort;
    if (verb == kWill) send(telnetBytes({kIac, agree ? kDo : kDont, option}));
    if (verb == kDo) send(telnetBytes({kIac, kWill, option}));
  }

  void subnegotiation() {
    if (sub_.size() < 2 || static_cast<std::uint8_t>(sub_[0]) != kComPort) return;
    const auto command = static_cast<std::uint8_t>(sub_[1]);
    std::string value = sub_.substr(2);
    {
      std::lock_guard lock(mutex_);
      commands_.push_back(sub_.substr(1));
    }
    if (command == 12) {
      if (purges_++ > 0) send(behaviour_.beforePurgeConfirmation);
      if (behaviour_.confirmPurges) confirm(command, value);
    } else if (command >= 1 && command <= 4 && behaviour_.confirmSettings) {
      const std::uint32_t rate = behaviour_.confirmedBaudRate;
      if (command == 1 && rate != 0)
        value = telnetBytes(
            {int(rate >> 24), int(rate >> 16 & 255), int(rate >> 8 & 255), int(rate & 255)});
      confirm(command, value);
    }
  }

  void confirm(std::uint8_t command, const std::string& value) {
    std::string escaped;
    for (char c : value) {
      escaped.push_back(c);
      if (static_cast<std::uint8_t>(c) == kIac) escaped.push_back(c);
    }
    send(telnetBytes({kIac, kSb, kComPort, command + 100}) + escaped + telnetBytes({kIac, kSe}));
  }

  void send(const std::string& bytes) {
    if (!bytes.empty()) (void)::send(client_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  }

  enum class State { Data, Iac, Option, Sub, SubIac };

  DeviceServerBehaviour behaviour_;
  int listener_ = -1;
  int client_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  State state_ = State::Data;
  std::uint8_t verb_ = 0;
  std::string sub_;
  int purges_ = 0;
  mutable std::mutex mutex_;
  std::vector<std::string> frames_;
  std::vector<std::string> commands_;
};

}  // namespace orvane::test
