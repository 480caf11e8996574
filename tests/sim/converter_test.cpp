// Converters 7912 and 7917.
#include <gtest/gtest.h>

#include "line_client.h"
#include "sim/network.h"

namespace orvane::sim {
namespace {

using namespace std::chrono_literals;
using test::LineClient;

TEST(Converter, ConfigurationReplyCarriesBothBaudDigitsAndStatusWord) {
  auto m = makeModule("7912", 5);
  m.statusWord = 0x201B;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$052"), "!054066201B");
  EXPECT_EQ(line.ask("%050640762003"), "!06");  // RS-232 at 19200, 8N1
  EXPECT_EQ(line.ask("$062"), "!0640762003");
  EXPECT_EQ(line.ask("%060640766003"), "?06");  // checksum needs the initialization state
  EXPECT_EQ(line.ask("%060640772003"), "?06");  // so does the network baud rate
  EXPECT_EQ(line.ask("%0606407"), "?06");
}

TEST(Converter, ChecksumBitOfStatusWordInInitializationState) {
  auto m = makeModule("7917", 9);
  m.initState = true;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("%000940666003"), "!09");
  EXPECT_EQ(line.ask("$002"), "!0940666003");
  net.setInitState(9, false);
  EXPECT_TRUE(net.state(9).checksum);
  EXPECT_EQ(line.ask("$092", true), "!0940666003");
}

TEST(Converter, DataPassEchoesThroughTheDelimiter) {
  Network net({makeModule("7912", 2)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("{02ABC"), "ABC");
  EXPECT_EQ(line.ask("$02C:"), "!02");
  EXPECT_EQ(line.ask("$02D"), "!02:");
  EXPECT_EQ(line.exchange("{02ABC", false, 100ms), std::nullopt);
  EXPECT_EQ(line.ask(":02XYZ"), "XYZ");
  EXPECT_EQ(line.ask("$02C$"), "?02");
  net.modify(2, [](ModuleState& s) {
    s.device.echo = false;
    s.device.fixedReply = "OK 42";
  });
  EXPECT_EQ(line.ask(":02READ"), "OK 42");
  net.modify(2, [](ModuleState& s) { s.device.fixedReply.clear(); });
  EXPECT_EQ(line.exchange(":02READ", false, 100ms), std::nullopt);
}

TEST(Converter, GateIdentifierLeadingCodeAndModemLines) {
  Network net({makeModule("7912", 2)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("&02810"), "!02");
  EXPECT_TRUE(net.state(2).dataGate);
  EXPECT_EQ(line.ask("&02800"), "!02");
  EXPECT_EQ(line.ask("&02811"), "?02");
  EXPECT_EQ(line.ask("$026PUMP-3"), "!02");
  EXPECT_EQ(line.ask("$027"), "!02PUMP-3");
  EXPECT_EQ(line.ask("~0210AB"), "!02");
  EXPECT_EQ(net.state(2).leadingCode, "AB");
  EXPECT_EQ(line.ask("$0201"), "!02");
  EXPECT_EQ(line.ask("$023"), "!021");
  EXPECT_EQ(line.ask("$021"), "!021");
  EXPECT_EQ(line.ask("$0202"), "?02");
}

}  // namespace
}  // namespace orvane::sim
