// Analog output modules 7342 and 7347.
#include <gtest/gtest.h>

#include <thread>

#include "line_client.h"
#include "sim/network.h"

namespace orvane::sim {
namespace {

using test::LineClient;

TEST(AnalogOutput, WriteAndReadBackInEachDataFormat) {
  auto m = makeModule("7342", 1);
  m.typeCode = 0x31;  // 4 to 20 mA
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("#0112.500"), ">");
  EXPECT_EQ(line.ask("$016"), "!0112.500");
  EXPECT_DOUBLE_EQ(net.state(1).outputs[0], 12.5);
  EXPECT_EQ(line.ask("#0103.000"), "?01");  // below the range
  EXPECT_EQ(line.ask("#0120.001"), "?01");
  net.modify(1, [](ModuleState& s) { s.format = 1; });
  EXPECT_EQ(line.ask("#01+025.00"), ">");
  EXPECT_DOUBLE_EQ(net.state(1).outputs[0], 8.0);
  EXPECT_EQ(line.ask("$016"), "!01+025.00");
  net.modify(1, [](ModuleState& s) { s.format = 2; });
  EXPECT_EQ(line.ask("#01FFF"), ">");
  EXPECT_EQ(line.ask("$016"), "!01FFF");
  EXPECT_DOUBLE_EQ(net.state(1).outputs[0], 20.0);
  EXPECT_EQ(line.ask("#01FFFF"), "?01");
}

TEST(AnalogOutput, CalibrationSwitchesRangeTrimsAndStoresPoints) {
  auto m = makeModule("7342", 3);
  m.typeCode = 0x32;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$032"), "!03320600");
  EXPECT_EQ(line.ask("%0303300600"), "!03");
  EXPECT_EQ(line.ask("#0304.000"), ">");
  EXPECT_EQ(line.ask("$03301"), "!03");
  EXPECT_EQ(line.ask("$03301"), "!03");
  EXPECT_EQ(line.ask("$033FF"), "!03");
  EXPECT_EQ(line.ask("$030"), "!03");
  EXPECT_EQ(line.ask("$031"), "!03");
  EXPECT_EQ(line.ask("%0303320600"), "!03");
  const auto s = net.state(3);
  EXPECT_EQ(s.outputTrim[0], 0) << "the stored points took the trim";
  EXPECT_EQ(s.calibrations.at("$0"), 1);
  EXPECT_EQ(s.typeCode, 0x32);
}

TEST(AnalogOutput, FourOutputsAndDigitalInputsOf7347) {
  auto m = makeModule("7347", 4);
  m.digitalInputs = 0x7F;
  m.inputToggleMask = 0;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("#04B+05.000"), ">");
  EXPECT_EQ(line.ask("#04D-10.000"), ">");
  EXPECT_EQ(line.ask("#04E+01.000"), "?04");
  EXPECT_EQ(line.ask("#04A+10.500"), "?04");
  EXPECT_EQ(line.ask("$046B"), "!04+05.000");
  EXPECT_EQ(line.ask("$046D"), "!04-10.000");
  EXPECT_EQ(line.ask("$046A"), "!04+00.000");
  EXPECT_EQ(line.ask("$048"), "!7F0000");
  EXPECT_EQ(line.ask("~04CP01"), "!04");
  EXPECT_EQ(line.ask("~04CR"), "!0401");
  EXPECT_EQ(line.ask("$048"), "!000000");  // inputs inverted
}

TEST(AnalogOutput, SynchronizedSampleOf7347Inputs) {
  auto m = makeModule("7347", 4);
  m.digitalInputs = 0x15;
  m.inputToggleMask = 0;
  Network net({m});
  LineClient line(net.slavePath());
  line.exchange("#**", false, std::chrono::milliseconds(50));
  EXPECT_EQ(line.ask("$049"), "!1150000");
  EXPECT_EQ(line.ask("$049"), "!0150000");
}

TEST(AnalogOutput, TrippedWatchdogDrivesOutputsToTheirSafeCounts) {
  auto m = makeModule("7342", 5);
  m.typeCode = 0x31;  // 4 to 20 mA
  Network net({m, makeModule("7347", 6)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("~0521017FF"), "!05");  // 0.1 s
  EXPECT_EQ(line.ask("~062101FFF000800FFF"), "!06");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_NEAR(net.state(5).outputs[0], 12.0, 0.01);
  const auto quad = net.state(6).outputs;
  EXPECT_NEAR(quad[0], 10.0, 0.01);
  EXPECT_NEAR(quad[1], -10.0, 0.01);
  EXPECT_NEAR(quad[2], 0.0, 0.01);
  EXPECT_NEAR(quad[3], 10.0, 0.01);
}

TEST(AnalogOutput, WatchdogSafeValuesPerModel) {
  Network net({makeModule("7342", 5), makeModule("7347", 6)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("~0521107FF"), "!05");
  EXPECT_EQ(line.ask("~053"),
            "!05110"
            "7FF");
  EXPECT_EQ(line.ask("~0521107F"), "?05");
  EXPECT_EQ(line.ask("~06210AFFF000800FFF"), "!06");
  EXPECT_EQ(line.ask("~063"), "!0610AFFF000800FFF");
}

}  // namespace
}  // namespace orvane::sim
