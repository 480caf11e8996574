#include "admin/core/line_monitor_log.h"

#include <gtest/gtest.h>

namespace orvane::admin {
namespace {

using serial::TraceEvent;
using serial::TraceKind;

TraceEvent event(TraceKind kind, std::string bytes = {}, std::string port = "COM1 /dev/pts/7") {
  TraceEvent e;
  e.kind = kind;
  e.port = std::move(port);
  e.bytes = std::move(bytes);
  e.baudRate = 9600;
  return e;
}

TEST(LineMonitorLog, FramesNameTheirAddressAndTheFilterTakesHexDigits) {
  const struct {
    const char* frame;
    std::optional<int> address;
  } frames[] = {
      {"$01M\r", 1}, {"#0A1\r", 10}, {"%FF020600\r", 255}, {"@7f\r", 127}, {"~**\r", {}},
      {"#**\r", {}}, {"$0\r", {}},   {"!01\r", {}},        {"", {}},       {"$G1M\r", {}},
  };
  for (const auto& f : frames) EXPECT_EQ(frameAddress(f.frame), f.address) << f.frame;

  const struct {
    const char* text;
    bool valid;
    std::optional<int> address;
  } filters[] = {
      {"", true, {}},    {"  ", true, {}},   {"1", true, 1},   {" 0a ", true, 10},
      {"FF", true, 255}, {"100", false, {}}, {"g", false, {}},
  };
  for (const auto& f : filters) {
    const AddressFilter parsed = parseAddressFilter(f.text);
    EXPECT_EQ(parsed.valid, f.valid) << '"' << f.text << '"';
    EXPECT_EQ(parsed.address, f.address) << '"' << f.text << '"';
  }
}

TEST(LineMonitorLog, RepliesAndTimeOutsBelongToTheFrameBeforeThemOnTheirOwnLine) {
  LineMonitorLog log;
  log.add(event(TraceKind::Sent, "$01M\r"));
  log.add(event(TraceKind::Sent, "$02M\r", "COM2 rfc2217://server:7001"));
  log.add(event(TraceKind::Received, "!017017\r"));
  log.add(event(TraceKind::TimedOut, "", "COM2 rfc2217://server:7001"));
  log.add(event(TraceKind::BaudChanged));
  log.add(event(TraceKind::Sent, "#**\r"));
  log.add(event(TraceKind::TimedOut));

  const auto onlyOne = log.shown(1);
  ASSERT_EQ(onlyOne.size(), 2u);
  EXPECT_NE(onlyOne[0].find("> $01M<CR>"), std::string::npos) << onlyOne[0];
  EXPECT_NE(onlyOne[1].find("< !017017<CR>"), std::string::npos) << onlyOne[1];
  const auto onlyTwo = log.shown(2);
  ASSERT_EQ(onlyTwo.size(), 2u);
  EXPECT_NE(onlyTwo[1].find("COM2 rfc2217://server:7001 ! time-out"), std::string::npos);
  EXPECT_EQ(log.shown(std::nullopt).size(), 7u) << "no filter shows the baud change and the "
                                                   "broadcast's silence too";
  EXPECT_TRUE(log.shown(3).empty());

  // A reply after a clear still belongs to the module its frame went to.
  log.add(event(TraceKind::Sent, "$03M\r"));
  log.clear();
  EXPECT_EQ(log.size(), 0u);
  log.add(event(TraceKind::Received, "!037013\r"));
  EXPECT_EQ(log.shown(3).size(), 1u);
}

TEST(LineMonitorLog, KeepsTheNewestTenThousandLines) {
  LineMonitorLog log;
  for (int i = 0; i < 10005; ++i) log.add(event(TraceKind::Sent, "$01" + std::to_string(i) + "\r"));
  EXPECT_EQ(log.size(), LineMonitorLog::kCapacity);
  const auto lines = log.shown(std::nullopt);
  ASSERT_EQ(lines.size(), 10000u);
  EXPECT_NE(lines.front().find("> $015<CR>"), std::string::npos) << "the five oldest are gone";
  EXPECT_NE(lines.back().find("> $0110004<CR>"), std::string::npos);
}

}  // namespace
}  // namespace orvane::admin
