// rfc2217://HOST:PORT: Telnet with the COM port option. The server's serial
// port is set to the line settings the program asks for, and every setting is
// confirmed by the server before configure() returns.
#pragma once

#include <array>
#include <optional>

#include "network_line.h"
#include "serial/telnet.h"

namespace orvane::serial {

class Rfc2217Line final : public NetworkLine {
 public:
  // Connects and negotiates BINARY both ways, SUPPRESS-GO-AHEAD and the COM
  // port option. A server that refuses binary transmission or the COM port
  // option, or does not answer within the time-out, is reported.
  Rfc2217Line(std::string url, const NetworkLineName& name);

  // Asks the server to drop DTR; servers on a pseudo-terminal never confirm
  // modem-line commands, so nothing waits for it.
  void dropDtr() override;

 protected:
  // Sends the baud rate, 8 data bits, the parity and 1 stop bit at once and
  // waits until the server has confirmed each; a setting the server answers
  // with another value, or does not confirm within the time-out, throws.
  void doConfigure(int baudRate, Parity parity) override;
  // Discards the data received here and asks the server to discard what it
  // has not passed on yet, without waiting for its answer.
  void doPurge() override;
  void doPurgeInput() override;
  void received(std::string_view bytes) override;
  std::string encode(std::string_view data) const override { return telnet::escape(data); }

 private:
  void negotiate();
  void take(std::string data);
  void take(const telnet::Subnegotiation& command);
  void requestPurge(std::uint8_t what);
  bool fenced() const;

  telnet::Decoder decoder_;
  telnet::Options options_;
  // The server's latest answer to each COM port command, by command.
  std::array<std::optional<std::string>, 256> answers_;
  // Data the server sends before it confirms a purge was received before the
  // purge: it is dropped. Only a server that has confirmed a purge before is
  // waited for, and never longer than the time-out.
  bool purgesConfirmed_ = false;
  std::optional<Clock::time_point> purgeSent_;
};

}  // namespace orvane::serial
