#include "serial/line_name.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "serial/line.h"

namespace orvane::serial {

namespace {

constexpr double kShortestTimeoutSeconds = 0.001;
constexpr double kLongestTimeoutSeconds = 60;

bool isSchemeChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
}

bool isHostNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
}

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

class NameParser {
 public:
  explicit NameParser(std::string_view url) : url_(url) {}

  NetworkLineName parse() {
    const std::size_t schemeEnd = url_.find("://");
    const std::string scheme = lowerCase(url_.substr(0, schemeEnd));
    if (scheme == "rfc2217")
      name_.protocol = NetworkProtocol::Rfc2217;
    else if (scheme == "socket")
      name_.protocol = NetworkProtocol::Socket;
    else
      fail("no such kind of line \"" + scheme + "://\" (rfc2217:// or socket://)");
    std::string_view rest = url_.substr(schemeEnd + 3);
    const std::size_t query = rest.find('?');
    parseHostAndPort(rest.substr(0, query));
    if (query != std::string_view::npos) parseOptions(rest.substr(query + 1));
    return name_;
  }

 private:
  [[noreturn]] void fail(const std::string& reason) const {
    throw SerialError(std::string(url_) + ": bad network line name: " + reason);
  }

  void parseHostAndPort(std::string_view hostPort) {
    std::string_view portText;
    if (hostPort.starts_with('[')) {
      const std::size_t close = hostPort.find(']');
      if (close == std::string_view::npos) fail("the \"[\" of the IPv6 address is not closed");
      name_.host = hostPort.substr(1, close - 1);
      checkIpv6(name_.host);
      std::string_view after = hostPort.substr(close + 1);
      if (!after.starts_with(':')) fail("the port is missing (HOST:PORT)");
      portText = after.substr(1);
    } else {
      const std::size_t colon = hostPort.rfind(':');
      if (colon == std::string_view::npos) fail("the port is missing (HOST:PORT)");
      name_.host = hostPort.substr(0, colon);
      portText = hostPort.substr(colon + 1);
      checkHostName(name_.host);
    }
    name_.port = portNumber(portText);
  }

  void checkIpv6(const std::string& host) const {
    // A zone ("fe80::1%eth0") belongs to the address but not to its digits.
    const std::string digits = host.substr(0, host.find('%'));
    in6_addr address{};
    if (::inet_pton(AF_INET6, digits.c_str(), &address) != 1)
      fail("\"" + host + "\" is not an IPv6 address");
  }

  void checkHostName(const std::string& host) const {
    if (host.empty()) fail("the host is missing (HOST:PORT)");
    if (host.find(':') != std::string::npos)
      fail("an IPv6 address goes in brackets ([" + host + "]:PORT)");
    if (!std::all_of(host.begin(), host.end(), isHostNameChar))
      fail("\"" + host + "\" is not a host name");
  }

  std::uint16_t portNumber(std::string_view text) const {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value == 0 ||
        value > 65535)
      fail("\"" + std::string(text) + "\" is not a TCP port (1 to 65535)");
    return static_cast<std::uint16_t>(value);
  }

  void parseOptions(std::string_view options) {
    for (;;) {
      const std::size_t amp = options.find('&');
      parseOption(options.substr(0, amp));
      if (amp == std::string_view::npos) return;
      options.remove_prefix(amp + 1);
    }
  }

  void parseOption(std::string_view option) {
    const std::size_t eq = option.find('=');
    const std::string_view key = option.substr(0, eq);
    const std::string_view value = eq == std::string_view::npos ? "" : option.substr(eq + 1);
    const bool telnet = name_.protocol == NetworkProtocol::Rfc2217;
    if (key == "logging" && isLoggingLevel(value)) return;
    if (telnet && eq == std::string_view::npos && (key == "ign_set_control" || key == "poll_modem"))
      return;
    if (telnet && key == "timeout" && eq != std::string_view::npos) {
      name_.timeout = timeoutOf(value);
      return;
    }
    fail("unknown option \"" + std::string(option) + "\"" +
         (telnet ? " (timeout=SECONDS, ign_set_control, poll_modem, logging=LEVEL)"
                 : " (logging=LEVEL)"));
  }

  static bool isLoggingLevel(std::string_view level) {
    return level == "debug" || level == "info" || level == "warning" || level == "error";
  }

  std::chrono::milliseconds timeoutOf(std::string_view text) const {
    double seconds = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), seconds, std::chars_format::fixed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !(seconds >= kShortestTimeoutSeconds) || seconds > kLongestTimeoutSeconds)
      fail("timeout=" + std::string(text) + ": a time-out is 0.001 to 60 seconds");
    return std::chrono::milliseconds(static_cast<long long>(std::round(seconds * 1000)));
  }

  std::string_view url_;
  NetworkLineName name_;
};

}  // namespace

std::string NetworkLineName::address() const {
  const std::string portText = std::to_string(port);
  return host.find(':') != std::string::npos ? "[" + host + "]:" + portText : host + ":" + portText;
}

std::string NetworkLineName::timeoutText() const {
  const auto count = timeout.count();
  return count % 1000 == 0 ? std::to_string(count / 1000) + " s" : std::to_string(count) + " ms";
}

bool isUrl(std::string_view name) {
  const std::size_t end = name.find("://");
  if (end == std::string_view::npos || end == 0) return false;
  const std::string_view scheme = name.substr(0, end);
  return std::isalpha(static_cast<unsigned char>(scheme.front())) &&
         std::all_of(scheme.begin(), scheme.end(), isSchemeChar);
}

NetworkLineName parseNetworkLineName(std::string_view url) {
  if (!isUrl(url)) throw SerialError(std::string(url) + ": not a network line name (SCHEME://)");
  return NameParser(url).parse();
}

std::optional<std::string> networkLineNameProblem(std::string_view url) {
  try {
    parseNetworkLineName(url);
    return std::nullopt;
  } catch (const SerialError& problem) {
    return problem.what();
  }
}

}  // namespace orvane::serial
