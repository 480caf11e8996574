// Names of network lines: what parses to which server, what is refused with
// which reason, and that such a name survives ports.conf and the device list.
#include "serial/line_name.h"

#include <gtest/gtest.h>

#include "serial/device_discovery.h"
#include "serial/line.h"
#include "serial/port_names.h"

namespace orvane::serial {
namespace {

using namespace std::chrono_literals;

struct GoodName {
  const char* url;
  NetworkProtocol protocol;
  const char* host;
  std::uint16_t port;
  std::chrono::milliseconds timeout;
  const char* address;
};

TEST(NetworkLineName, ParsesHostPortAndOptions) {
  const GoodName names[] = {
      {"rfc2217://127.0.0.1:7001", NetworkProtocol::Rfc2217, "127.0.0.1", 7001, 3s,
       "127.0.0.1:7001"},
      {"socket://10.0.0.5:4001", NetworkProtocol::Socket, "10.0.0.5", 4001, 3s, "10.0.0.5:4001"},
      {"rfc2217://[::1]:7001", NetworkProtocol::Rfc2217, "::1", 7001, 3s, "[::1]:7001"},
      {"rfc2217://[fe80::1%eth0]:23", NetworkProtocol::Rfc2217, "fe80::1%eth0", 23, 3s,
       "[fe80::1%eth0]:23"},
      {"RFC2217://pump-house.plant_1:65535", NetworkProtocol::Rfc2217, "pump-house.plant_1", 65535,
       3s, "pump-house.plant_1:65535"},
      {"rfc2217://localhost:7001?ign_set_control", NetworkProtocol::Rfc2217, "localhost", 7001, 3s,
       "localhost:7001"},
      {"rfc2217://h:1?timeout=0.25&poll_modem&logging=debug", NetworkProtocol::Rfc2217, "h", 1,
       250ms, "h:1"},
      {"rfc2217://h:1?timeout=60", NetworkProtocol::Rfc2217, "h", 1, 60s, "h:1"},
      {"socket://h:2?logging=error", NetworkProtocol::Socket, "h", 2, 3s, "h:2"},
  };
  for (const auto& name : names) {
    SCOPED_TRACE(name.url);
    const NetworkLineName parsed = parseNetworkLineName(name.url);
    EXPECT_EQ(parsed.protocol, name.protocol);
    EXPECT_EQ(parsed.host, name.host);
    EXPECT_EQ(parsed.port, name.port);
    EXPECT_EQ(parsed.timeout, name.timeout);
    EXPECT_EQ(parsed.address(), name.address);
    EXPECT_FALSE(networkLineNameProblem(name.url));
  }
}

TEST(NetworkLineName, RefusesBadNamesWithTheReason) {
  const std::pair<const char*, const char*> names[] = {
      {"loop://", "no such kind of line \"loop://\""},
      {"rfc2217://127.0.0.1", "the port is missing"},
      {"rfc2217://:7001", "the host is missing"},
      {"rfc2217://::1:7001", "an IPv6 address goes in brackets"},
      {"rfc2217://[::1:7001", "is not closed"},
      {"rfc2217://[::1]7001", "the port is missing"},
      {"rfc2217://[no:v6:here]:7001", "\"no:v6:here\" is not an IPv6 address"},
      {"rfc2217://pump house:7001", "\"pump house\" is not a host name"},
      {"rfc2217://h:0", "\"0\" is not a TCP port"},
      {"rfc2217://h:65536", "\"65536\" is not a TCP port"},
      {"rfc2217://h:70x", "\"70x\" is not a TCP port"},
      {"rfc2217://h:7001/", "\"7001/\" is not a TCP port"},
      {"rfc2217://h:", "\"\" is not a TCP port"},
      {"rfc2217://h:1?timeout=0.0001", "a time-out is 0.001 to 60 seconds"},
      {"rfc2217://h:1?timeout=0", "a time-out is 0.001 to 60 seconds"},
      {"rfc2217://h:1?timeout=61", "a time-out is 0.001 to 60 seconds"},
      {"rfc2217://h:1?timeout=1,5", "a time-out is 0.001 to 60 seconds"},
      {"rfc2217://h:1?logging=verbose", "unknown option \"logging=verbose\""},
      {"rfc2217://h:1?ign_set_control=1", "unknown option \"ign_set_control=1\""},
      {"rfc2217://h:1?baudrate=9600", "unknown option \"baudrate=9600\""},
      {"socket://h:1?timeout=1", "unknown option \"timeout=1\" (logging=LEVEL)"},
      {"socket://h:1?ign_set_control", "unknown option \"ign_set_control\""},
  };
  for (const auto& [url, reason] : names) {
    SCOPED_TRACE(url);
    try {
      parseNetworkLineName(url);
      ADD_FAILURE() << "accepted";
    } catch (const SerialError& e) {
      const std::string text = e.what();
      EXPECT_TRUE(text.starts_with(std::string(url) + ": bad network line name: ")) << text;
      EXPECT_NE(text.find(reason), std::string::npos) << text;
    }
    EXPECT_TRUE(networkLineNameProblem(url));
  }
}

TEST(NetworkLineName, TellsUrlsFromDevicePaths) {
  for (const char* url : {"rfc2217://h:1", "socket://h:1", "loop://", "spy+x.y-z://a"})
    EXPECT_TRUE(isUrl(url)) << url;
  for (const char* path :
       {"/dev/ttyUSB0", "/tmp/odd://name", "./line", "line3", "://x", "3x://y", "a b://c", ""})
    EXPECT_FALSE(isUrl(path)) << path;
}

TEST(NetworkLineName, TimeOutsReadAsMessagesSayThem) {
  EXPECT_EQ(parseNetworkLineName("rfc2217://h:1").timeoutText(), "3 s");
  EXPECT_EQ(parseNetworkLineName("rfc2217://h:1?timeout=0.25").timeoutText(), "250 ms");
  EXPECT_EQ(parseNetworkLineName("rfc2217://h:1?timeout=0.001").timeoutText(), "1 ms");
}

TEST(NetworkLineName, SurvivesPortsConfWithItsColonsAndEqualSigns) {
  const auto ports = parsePortsConf(
      "COM3=rfc2217://[::1]:7001\n"
      "COM4 = socket://10.0.0.5:4001?logging=info  \n"
      "COM5=rfc2217://h:1?timeout=0.5&ign_set_control\n");
  EXPECT_EQ(ports.at(3), "rfc2217://[::1]:7001");
  EXPECT_EQ(ports.at(4), "socket://10.0.0.5:4001?logging=info");
  EXPECT_EQ(ports.at(5), "rfc2217://h:1?timeout=0.5&ign_set_control");
}

TEST(NetworkLineName, TheDeviceListDescribesAUrlWithoutLookingForAFile) {
  const auto neverAsked = [](const std::filesystem::path& node) -> bool {
    ADD_FAILURE() << "asked about " << node;
    return false;
  };
  const SerialDevice good = describeDevicePath("rfc2217://[::1]:7001", {}, neverAsked);
  EXPECT_TRUE(good.network);
  EXPECT_TRUE(good.present);
  EXPECT_TRUE(good.mayOpen);
  EXPECT_FALSE(good.isLink);
  EXPECT_TRUE(good.node.empty());
  EXPECT_EQ(good.path.string(), "rfc2217://[::1]:7001");
  const SerialDevice bad = describeDevicePath("rfc2217://[::1]", {}, neverAsked);
  EXPECT_TRUE(bad.network);
  EXPECT_FALSE(bad.present);
  EXPECT_FALSE(describeDevicePath("/dev/null").network);
}

TEST(NetworkLineName, OpeningABadUrlNamesIt) {
  try {
    openLine("rfc2217://127.0.0.1");
    FAIL() << "opened";
  } catch (const SerialError& e) {
    EXPECT_STREQ(e.what(),
                 "rfc2217://127.0.0.1: bad network line name: the port is missing (HOST:PORT)");
  }
}

}  // namespace
}  // namespace orvane::serial
