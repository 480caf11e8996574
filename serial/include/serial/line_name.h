// Names of lines on a device server, in the spelling of pyserial's URLs so
// that a user can try the same name with pyserial's tools:
//
//   rfc2217://HOST:PORT[?OPTION[&OPTION...]]   Telnet with the COM port option
//   socket://HOST:PORT[?logging=LEVEL]          raw TCP at the server's speed
//
// HOST is a name, an IPv4 address or an IPv6 address in brackets
// ("[fe80::1]"). The options pyserial knows are taken: "timeout=SECONDS"
// limits the connect, the Telnet negotiation and every wait for the server's
// confirmation (3 s by default, up to 60 s); "ign_set_control" and
// "poll_modem" describe what these lines do anyway (modem-line commands are
// never waited for, modem lines are never read) and "logging=LEVEL" (debug,
// info, warning, error) is accepted for compatibility and changes nothing.
// Anything else is refused.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::serial {

enum class NetworkProtocol { Rfc2217, Socket };

struct NetworkLineName {
  NetworkProtocol protocol = NetworkProtocol::Rfc2217;
  std::string host;  // without the brackets of an IPv6 address
  std::uint16_t port = 0;
  std::chrono::milliseconds timeout{3000};

  // "HOST:PORT" as the URL writes it ("[::1]:7001").
  std::string address() const;
  // The time-out as a message gives it ("3 s", "250 ms").
  std::string timeoutText() const;
};

// Whether the name has the form "SCHEME://..." of a URL rather than of a
// device path (which begins with "/", ".", or a file name).
bool isUrl(std::string_view name);

// Parses a URL; throws SerialError naming the URL and what is wrong with it,
// also for a scheme other than rfc2217 and socket.
NetworkLineName parseNetworkLineName(std::string_view url);

// What parseNetworkLineName would say about the URL; nullopt when it is good.
std::optional<std::string> networkLineNameProblem(std::string_view url);

}  // namespace orvane::serial
