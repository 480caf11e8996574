// What every line on a device server shares: the TCP connection, the bytes
// received and not yet taken, and waiting for them with the reply time-out.
#pragma once

#include <deque>
#include <functional>

#include "serial/config_dir.h"
#include "serial/line.h"
#include "serial/line_name.h"

namespace orvane::serial {

class NetworkLine : public Line {
 public:
  ~NetworkLine() override;

  bool isOpen() const override { return fd_ >= 0; }
  const std::string& device() const override { return device_; }
  std::size_t available() override;
  bool waitReadable(std::chrono::milliseconds timeout) override;
  // The server closed the connection or it broke: found without waiting,
  // also while data the server sent before is still unread.
  bool hungUp() const override;
  void close() override;

 protected:
  // Connects (see connectTcp).
  NetworkLine(std::string url, const NetworkLineName& name);

  bool doWrite(std::string_view data, std::chrono::milliseconds timeout) override;
  std::optional<std::uint8_t> doReadByte(std::chrono::milliseconds timeout) override;

  // Takes the bytes the server sent: data goes to input_.
  virtual void received(std::string_view bytes) = 0;
  // The bytes that carry the data to the server.
  virtual std::string encode(std::string_view data) const = 0;

  // Reads from the server until `done` holds or the deadline passed; whether
  // it holds at the end.
  bool receiveUntil(const std::function<bool()>& done, Clock::time_point deadline);
  // Sends all bytes, in one send while the connection has room; false when
  // they did not all go before the deadline.
  bool sendAll(std::string_view bytes, Clock::time_point deadline);
  // Sends without reporting a lost connection: the next read or write
  // reports it.
  void sendQuietly(std::string_view bytes);
  // Drops the data received so far, and what has arrived meanwhile.
  void discardInput();
  void requireOpen() const;
  void requireSupportedRate(int baudRate) const;

  const NetworkLineName name_;
  std::deque<char> input_;

 private:
  enum class Receipt { Bytes, Nothing, Lost };
  enum class Sending { Done, TimedOut, Lost };

  // Takes one batch of what the server sent, waiting until the deadline.
  Receipt receiveSome(Clock::time_point deadline);
  // Takes what has arrived, without waiting.
  void takeWhatArrived();
  Sending send(std::string_view bytes, Clock::time_point deadline);
  void acknowledgeAtOnce();
  // Reads and drops what the server still sends until it ends the
  // connection or the deadline passed.
  void awaitServerEnd(Clock::time_point deadline);
  [[noreturn]] void lost() const;
  [[noreturn]] void disconnected(const std::string& cause) const;
  std::string lastWords() const;

  int fd_ = -1;
  std::string device_;
  // Why the connection was lost (EPIPE when the server closed it); 0 while
  // it stands.
  int lostBy_ = 0;
};

// socket://HOST:PORT: raw bytes both ways; the device server's port runs at
// the speed it was set to.
class TcpLine final : public NetworkLine {
 public:
  TcpLine(std::string url, const NetworkLineName& name) : NetworkLine(std::move(url), name) {}

  bool fixedSpeed() const override { return true; }
  // A raw connection carries no modem lines.
  void dropDtr() override {}

 protected:
  // Checks the rate as a local line would; the speed stays the server's.
  void doConfigure(int baudRate, Parity parity) override;
  void doPurge() override { discardInput(); }
  void doPurgeInput() override { discardInput(); }
  void received(std::string_view bytes) override;
  std::string encode(std::string_view data) const override { return std::string(data); }
};

}  // namespace orvane::serial
