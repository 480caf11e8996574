// Lines on a device server against a small server of the test's own, for
// what a real device server does not do on request: refusals, missing
// confirmations, Telnet commands inside replies, late data, slow connects.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "device_server.h"
#include "line_exchange.h"
#include "serial/config_dir.h"
#include "serial/line.h"

namespace orvane::serial {
namespace {

using namespace std::chrono_literals;
using test::DeviceServer;
using test::DeviceServerBehaviour;
using test::telnetBytes;

constexpr auto kReplyTimeout = 2s;

std::optional<std::string> exchange(Line& line, const std::string& frame) {
  return test::exchange(line, frame, kReplyTimeout);
}

std::string errorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const SerialError& e) {
    return e.what();
  }
  return "(no error)";
}

DeviceServerBehaviour replying(std::string reply) {
  DeviceServerBehaviour behaviour;
  behaviour.reply = {{0ms, std::move(reply)}};
  return behaviour;
}

// A TCP port on 127.0.0.1 that nobody listens on.
std::uint16_t closedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

TEST(Rfc2217Line, CarriesIacBothWaysAndConsumesCommandsInsideAReply) {
  const std::string iac = telnetBytes({255, 255});
  DeviceServer server(replying("!01" + iac + "2" + telnetBytes({255, 241}) +
                               telnetBytes({255, 250, 44, 107, 0, 255, 240}) +
                               telnetBytes({255, 251, 3}) + "\r"));
  auto line = openLine(server.url("rfc2217"));
  EXPECT_FALSE(line->fixedSpeed());
  line->configure(9600);
  EXPECT_EQ(exchange(*line, "$01\xFF\r"),
            "!01\xFF"
            "2");
  const auto frames = server.frames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0], "$01\xFF\r");
}

TEST(Rfc2217Line, ConfigureSetsTheLineAndWaitsForEachConfirmation) {
  DeviceServer server({});
  auto line = openLine(server.url("rfc2217"));
  line->configure(19200, Parity::Even);
  line->configure(115200, Parity::None);
  EXPECT_EQ(server.commands(),
            (std::vector<std::string>{telnetBytes({1, 0, 0, 0x4B, 0}), telnetBytes({2, 8}),
                                      telnetBytes({3, 3}), telnetBytes({4, 1}),
                                      telnetBytes({1, 0, 1, 0xC2, 0}), telnetBytes({2, 8}),
                                      telnetBytes({3, 1}), telnetBytes({4, 1})}));
  EXPECT_NE(errorOf([&] { line->configure(12345); }).find("baud rate 12345 not supported"),
            std::string::npos);
}

struct RefusalCase {
  const char* name;
  DeviceServerBehaviour behaviour;
  const char* options;
  bool failsAtOpen;
  const char* error;  // after "rfc2217://127.0.0.1:PORT...: "
};

DeviceServerBehaviour with(void (*change)(DeviceServerBehaviour&)) {
  DeviceServerBehaviour behaviour;
  change(behaviour);
  return behaviour;
}

TEST(Rfc2217Line, ReportsWhatTheServerRefusesOrNeverConfirms) {
  const RefusalCase cases[] = {
      {"another baud rate", with([](auto& b) { b.confirmedBaudRate = 9600; }), "", false,
       "the server set the baud rate to 9600 instead of 19200"},
      {"no confirmation", with([](auto& b) { b.confirmSettings = false; }), "?timeout=0.3", false,
       "the server did not confirm the baud rate within 300 ms"},
      {"COM port option refused", with([](auto& b) { b.acceptComPort = false; }), "", true,
       "the server refuses the COM port option (RFC 2217), so the line settings cannot be set; "
       "for a raw TCP port write socket://127.0.0.1:"},
      {"no Telnet answer", with([](auto& b) { b.answerOptions = false; }), "?timeout=0.3", true,
       "no Telnet answer from the server within 300 ms; for a raw TCP port write "
       "socket://127.0.0.1:"},
      {"a raw TCP port", with([](auto& b) { b.telnet = false; }), "?timeout=0.3", true,
       "no Telnet answer from the server within 300 ms"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DeviceServer server(c.behaviour);
    const std::string url = server.url("rfc2217", c.options);
    std::unique_ptr<Line> line;
    const auto started = Clock::now();
    const std::string error = errorOf([&] {
      line = openLine(url);
      line->configure(19200);
    });
    const auto took = Clock::now() - started;
    EXPECT_EQ(line == nullptr, c.failsAtOpen);
    EXPECT_TRUE(error.starts_with(url + ": " + c.error)) << error;
    EXPECT_LT(took, 2500ms);
    if (std::string_view(c.options).empty()) continue;
    EXPECT_GE(took, 280ms);
  }
}

TEST(NetworkLine, ARefusedOrSlowConnectIsReportedWithinItsLimit) {
  const std::uint16_t port = closedPort();
  EXPECT_EQ(errorOf([&] { openLine("rfc2217://127.0.0.1:" + std::to_string(port)); }),
            "cannot connect to 127.0.0.1:" + std::to_string(port) + ": connection refused");

  // A listener that never accepts and whose queue is full leaves every
  // further connect unanswered.
  const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 0), 0);
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  const std::string hostPort = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_EQ(::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const auto started = Clock::now();
  EXPECT_EQ(errorOf([&] { openLine("rfc2217://" + hostPort + "?timeout=0.3"); }),
            "cannot connect to " + hostPort + ": no answer within 300 ms");
  const auto took = Clock::now() - started;
  EXPECT_GE(took, 280ms);
  EXPECT_LT(took, 2500ms);
  ::close(filler);
  ::close(listener);
}

TEST(Rfc2217Line, TelnetCommandsNeitherRestartNorEndTheReplyTimeOut) {
  DeviceServerBehaviour behaviour;
  behaviour.reply.push_back({0ms, "!"});
  for (int i = 0; i < 10; ++i) behaviour.reply.push_back({50ms, telnetBytes({255, 241})});
  behaviour.reply.push_back({50ms, "1\r"});
  DeviceServer server(behaviour);
  auto line = openLine(server.url("rfc2217"));
  line->configure(9600);
  line->purge();
  ASSERT_TRUE(line->write("$01M\r", kReplyTimeout));
  ASSERT_EQ(line->readByte(kReplyTimeout), '!');
  const auto started = Clock::now();
  EXPECT_FALSE(line->readByte(200ms));
  const auto took = Clock::now() - started;
  EXPECT_GE(took, 190ms);
  EXPECT_LT(took, 500ms) << "the commands restarted the time-out";
  EXPECT_EQ(line->readByte(kReplyTimeout), '1');
}

struct PurgeCase {
  const char* name;
  bool confirmPurges;
  const char* beforeConfirmation;
};

// Data that left the server before it carried out our purge is stale; a
// server that confirms purges marks where the fresh data begins.
TEST(Rfc2217Line, DataFromBeforeAConfirmedPurgeIsDropped) {
  const PurgeCase cases[] = {
      {"server confirms purges", true, "!stale\r"},
      {"server never confirms purges", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DeviceServerBehaviour behaviour = replying("!fresh\r");
    behaviour.confirmPurges = c.confirmPurges;
    behaviour.beforePurgeConfirmation = c.beforeConfirmation;
    DeviceServer server(behaviour);
    auto line = openLine(server.url("rfc2217"));
    line->configure(9600);
    for (int round = 0; round < 3; ++round) EXPECT_EQ(exchange(*line, "$01M\r"), "!fresh");
    EXPECT_EQ(line->available(), 0u);
  }
}

TEST(Rfc2217Line, DroppingDtrDoesNotWaitForTheServer) {
  DeviceServer server({});
  auto line = openLine(server.url("rfc2217"));
  const auto started = Clock::now();
  line->dropDtr();
  EXPECT_LT(Clock::now() - started, 500ms);
  const auto deadline = Clock::now() + 2s;
  while (server.commands().empty() && Clock::now() < deadline) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(server.commands(), std::vector<std::string>{telnetBytes({5, 9})});
}

TEST(NetworkLine, AClosedConnectionIsADisconnectedDevice) {
  for (const char* scheme : {"rfc2217", "socket"}) {
    SCOPED_TRACE(scheme);
    DeviceServerBehaviour behaviour;
    behaviour.telnet = scheme[0] == 'r';
    behaviour.closeAfterFrame = true;
    DeviceServer server(behaviour);
    auto line = openLine(server.url(scheme));
    line->configure(9600);
    ASSERT_TRUE(line->write("$01M\r", kReplyTimeout));
    const auto started = Clock::now();
    const std::string error = errorOf([&] { line->readByte(10s); });
    EXPECT_EQ(error,
              server.url(scheme) + ": the server closed the connection: device disconnected");
    EXPECT_LT(Clock::now() - started, 5s);
    EXPECT_THROW(line->readByte(10ms), DeviceDisconnected);
    EXPECT_NO_THROW(line->purge());
    EXPECT_NO_THROW(line->dropDtr());
    line->close();
    EXPECT_FALSE(line->isOpen());
    EXPECT_THROW(line->write("x", 10ms), SerialError);
  }
}

// The reply of the frame is waiting unread in both cases; only the server
// that closed the connection after it has hung up, and the reply is still
// read before the loss is reported.
TEST(NetworkLine, HungUpFindsAClosedConnectionWithoutTakingWhatArrived) {
  for (const bool closes : {false, true}) {
    for (const char* scheme : {"rfc2217", "socket"}) {
      SCOPED_TRACE(std::string(scheme) + (closes ? ", closed after the frame" : ", kept open"));
      DeviceServerBehaviour behaviour = replying("!01\r");
      behaviour.telnet = scheme[0] == 'r';
      behaviour.closeAfterFrame = closes;
      DeviceServer server(behaviour);
      auto line = openLine(server.url(scheme));
      line->configure(9600);
      EXPECT_FALSE(line->hungUp());
      line->purge();
      ASSERT_TRUE(line->write("$01M\r", kReplyTimeout));
      const auto deadline = Clock::now() + 5s;
      while (server.frames().empty() && Clock::now() < deadline) std::this_thread::sleep_for(5ms);
      while (closes && !line->hungUp() && Clock::now() < deadline) std::this_thread::sleep_for(5ms);
      std::this_thread::sleep_for(50ms);  // the reply has arrived
      EXPECT_EQ(line->hungUp(), closes);
      std::string reply;
      while (auto byte = line->readByte(kReplyTimeout)) {
        if (*byte == '\r') break;
        reply += static_cast<char>(*byte);
      }
      EXPECT_EQ(reply, "!01");
      EXPECT_EQ(line->hungUp(), closes);
      line->close();
      EXPECT_FALSE(line->hungUp()) << "a closed line has no connection to lose";
    }
  }
}

TEST(TcpLine, PassesBytesUnchangedAtTheServersFixedSpeed) {
  DeviceServerBehaviour behaviour = replying("!01\xFF\r");
  behaviour.telnet = false;
  DeviceServer server(behaviour);
  auto line = openLine(server.url("socket"));
  EXPECT_TRUE(line->fixedSpeed());
  EXPECT_NO_THROW(line->configure(19200, Parity::Odd));
  EXPECT_THROW(line->configure(12345), SerialError);
  EXPECT_EQ(exchange(*line, "$01\xFF\r"), "!01\xFF");
  EXPECT_EQ(server.frames(), std::vector<std::string>{"$01\xFF\r"});
  EXPECT_EQ(line->device(), server.url("socket"));
}

}  // namespace
}  // namespace orvane::serial
