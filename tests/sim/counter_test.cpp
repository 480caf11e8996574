// Counter/frequency module 7586.
#include <gtest/gtest.h>

#include <thread>

#include "line_client.h"
#include "protocol/numbers.h"
#include "sim/network.h"

namespace orvane::sim {
namespace {

using namespace std::chrono_literals;
using test::LineClient;

ModuleState stoppedCounter(int address) {
  auto m = makeModule("7586", address);
  for (auto& k : m.counters) {
    k.running = false;
    k.ratePerS = 0;
  }
  return m;
}

TEST(Counter, SettingsAreStoredAndReadBack) {
  Network net({stoppedCounter(5)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$05B1"), "!05");
  EXPECT_EQ(line.ask("$05B"), "!051");
  EXPECT_EQ(line.ask("$05A0"), "!05");
  EXPECT_EQ(line.ask("$05A"), "!050");
  EXPECT_EQ(line.ask("$05A3"), "?05");
  EXPECT_EQ(line.ask("$053000012345"), "!05");
  EXPECT_EQ(line.ask("$0530"), "!0500012345");
  EXPECT_EQ(line.ask("@05P100000100"), "!05");
  EXPECT_EQ(line.ask("@05G1"), "!0500000100");
  EXPECT_EQ(line.ask("$0541"), "!05");
  EXPECT_EQ(line.ask("$054"), "!051");
  EXPECT_EQ(line.ask("$050H0050"), "!05");
  EXPECT_EQ(line.ask("$050H"), "!050050");
  EXPECT_EQ(line.ask("$050L0007"), "!05");
  EXPECT_EQ(line.ask("$050L"), "!050007");
  EXPECT_EQ(line.ask("$051L08"), "!05");
  EXPECT_EQ(line.ask("$051L"), "!0508");
  EXPECT_EQ(line.ask("$051H35"), "!05");
  EXPECT_EQ(line.ask("$051H"), "!0535");
  EXPECT_EQ(line.ask("$051H5"), "?05");
  EXPECT_EQ(line.ask("@05PA000000FF"), "!05");
  EXPECT_EQ(line.ask("@05SA00001000"), "!05");
  EXPECT_EQ(line.ask("@05RP"), "!05000000FF");
  EXPECT_EQ(line.ask("@05RA"), "!0500001000");
}

TEST(Counter, ReadsTakeTheRSuffixWithChecksum) {
  auto m = stoppedCounter(5);
  m.checksum = true;
  m.counters[1].value = 0xFFFF;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("#051R", true), ">0000FFFF");
  EXPECT_EQ(line.ask("#051", true), ">0000FFFF");
  EXPECT_EQ(line.ask("$05BR", true), "!050");
  EXPECT_EQ(line.ask("$0531R", true), "!05000003E8");
  EXPECT_EQ(line.ask("#051D", true), ">0000065535");
  EXPECT_EQ(line.ask("$0571R", true), "?05");  // the overflow read has no suffix
}

TEST(Counter, RunningCounterCountsWrapsAtMaximumAndClears) {
  auto m = stoppedCounter(5);
  m.counters[0].ratePerS = 1000;
  m.counters[0].maxValue = 49;
  m.counters[0].initialValue = 10;
  m.counters[0].value = 10;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$0550"), "!050");
  EXPECT_EQ(line.ask("$05501"), "!05");
  EXPECT_EQ(line.ask("$0550"), "!051");
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(line.ask("$05500"), "!05");
  const auto v = net.state(5).counters[0].value;
  EXPECT_GE(v, 10u);
  EXPECT_LE(v, 49u);
  EXPECT_EQ(line.ask("$0570"), "!051");
  EXPECT_EQ(line.ask("$0560"), "!05");
  EXPECT_EQ(line.ask("#050"), ">0000000A");
  EXPECT_EQ(line.ask("$0570"), "!050");
}

TEST(Counter, AlarmDrivesItsOutputManualOutputsOtherwise) {
  auto m = stoppedCounter(5);
  m.counters[1].value = 500;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("@05DI"), "!05000");
  EXPECT_EQ(line.ask("@05DO03"), "!05");
  EXPECT_EQ(line.ask("@05DI"), "!05003");
  EXPECT_EQ(line.ask("@05SA00000100"), "!05");
  EXPECT_EQ(line.ask("@05DO00"), "!05");
  EXPECT_EQ(line.ask("@05EA1"), "!05");
  EXPECT_EQ(line.ask("@05DI"), "!05202");  // counter 1 above its limit
  EXPECT_EQ(line.ask("@05DA1"), "!05");
  EXPECT_EQ(line.ask("@05DI"), "!05000");
  EXPECT_EQ(line.ask("@05DO04"), "?05");
}

TEST(Counter, FrequencyModeReadsTheInputFrequency) {
  auto m = stoppedCounter(5);
  m.counters[0].ratePerS = 1234.4;
  m.counters[0].rateSwing = 0;  // a steady input
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("%0505510604"), "!05");  // frequency, 1 s gate time
  EXPECT_EQ(line.ask("$052"), "!05510604");
  EXPECT_EQ(line.ask("#050D"), ">0000001234");
  EXPECT_EQ(line.ask("#050"), ">000004D2");
  EXPECT_EQ(line.ask("%0505520600"), "?05");
}

TEST(Counter, FrequencyModeReadingsWanderAroundTheRate) {
  auto m = makeModule("7586", 5);
  m.typeCode = 0x51;
  m.counters[0].ratePerS = 10000;
  m.counters[1].ratePerS = 10000;
  m.counters[1].rateSwing = 0;
  Network net({m});
  LineClient line(net.slavePath());
  const auto read = [&](const char* command) {
    const auto reply = line.ask(command);
    EXPECT_TRUE(reply && reply->size() == 11 && reply->front() == '>') << reply.value_or("none");
    return reply ? protocol::integerValue(reply->substr(1)) : -1;
  };
  const long long first = read("#050D");
  std::this_thread::sleep_for(300ms);
  const long long second = read("#050D");
  EXPECT_NE(first, second) << "the reading moves";
  for (long long f : {first, second}) {
    EXPECT_GE(f, 8000);
    EXPECT_LE(f, 12000) << "within the swing of 20 %";
  }
  EXPECT_EQ(read("#051D"), 10000) << "an input without swing holds still";
}

}  // namespace
}  // namespace orvane::sim
