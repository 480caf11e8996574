// Analog input and multi-function modules.
#include <gtest/gtest.h>

#include <thread>

#include "line_client.h"
#include "sim/network.h"

namespace orvane::sim {
namespace {

using namespace std::chrono_literals;
using test::LineClient;
using Shape = Signal::Shape;

ModuleState constantInputs(const std::string& model, int address, int typeCode, double value) {
  auto m = makeModule(model, address);
  m.typeCode = typeCode;
  for (auto& s : m.inputs) s = Signal{Shape::Constant, value, 0, 1};
  return m;
}

TEST(AnalogInput, ChannelReadInEveryDataFormat) {
  auto m = constantInputs("7215", 1, 0x08, 1.25);  // +/- 10V
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("#01"), ">+01.250");
  net.modify(1, [](ModuleState& s) { s.format = 1; });
  EXPECT_EQ(line.ask("#01"), ">+012.50");
  net.modify(1, [](ModuleState& s) {
    s.format = 2;
    s.inputs[0].value = -10.0;
  });
  EXPECT_EQ(line.ask("#01"), ">8001");
}

TEST(AnalogInput, RtdInOhmsFormat) {
  auto m = constantInputs("7226", 3, 0x20, 100.0);
  m.format = 3;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("#030"), ">+138.50");
}

TEST(AnalogInput, ChannelsMaskAndAllChannelRead) {
  auto m = constantInputs("7226", 3, 0x20, 25.0);
  m.inputs[1].value = -12.5;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("#03"), ">+025.00-012.50+025.00");
  EXPECT_EQ(line.ask("#03A"), ">+025.00-012.50+025.00");
  EXPECT_EQ(line.ask("#031"), ">-012.50");
  EXPECT_EQ(line.ask("#033"), "?03");  // no channel 3 on a 3-channel module
  EXPECT_EQ(line.ask("$036"), "!0307");
  EXPECT_EQ(line.ask("$03505"), "!03");
  EXPECT_EQ(line.ask("$036"), "!0305");
  EXPECT_EQ(line.ask("#031"), "?03");  // disabled
  EXPECT_EQ(line.ask("$0350F"), "!03");
  EXPECT_EQ(line.ask("$036"), "!0307");  // bits beyond the channels are dropped
}

TEST(AnalogInput, LiveSignalMoves) {
  auto m = makeModule("7231", 4);
  m.inputs[0] = Signal{Shape::Ramp, 0.0, 5.0, 0.4};
  Network net({m});
  LineClient line(net.slavePath());
  const auto first = line.ask("#040");
  std::this_thread::sleep_for(150ms);
  const auto second = line.ask("#040");
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
}

TEST(AnalogInput, OpenStatusColdJunctionAndItsCalibration) {
  auto m = makeModule("7234", 5);
  m.openInputs = 0x81;
  m.cjcTemperature = 25.0;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$05BA"), "!0581");
  EXPECT_EQ(line.ask("$053"), ">+025.00");
  // 1.53 degrees are 100 steps of 0.0153
  EXPECT_EQ(line.ask("$059+0064"), "!05");
  EXPECT_EQ(line.ask("$053"), ">+026.53");
  EXPECT_EQ(line.ask("$059-0064"), "!05");
  EXPECT_EQ(line.ask("$053"), ">+023.47");
  EXPECT_EQ(line.ask("$059+0000"), "!05");
  EXPECT_EQ(line.ask("$053"), ">+025.00");
  EXPECT_EQ(line.ask("$050"), "!05");
  EXPECT_EQ(line.ask("$051"), "!05");
  const auto s = net.state(5);
  EXPECT_EQ(s.calibrations.at("$0"), 1);
  EXPECT_EQ(s.calibrations.at("$1"), 1);
  EXPECT_EQ(s.calibrations.at("$9"), 3);
  EXPECT_EQ(line.ask("$03BA"), std::nullopt);
}

TEST(AnalogInput, ModelsWithoutColdJunctionRefuseIt) {
  Network net({makeModule("7231", 6)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$063"), "?06");
  EXPECT_EQ(line.ask("$06BA"), "?06");
}

TEST(AnalogInput, SynchronizedSampling) {
  auto m = constantInputs("7226", 7, 0x20, 25.0);
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.exchange("#**", false, 50ms), std::nullopt);
  EXPECT_EQ(line.ask("$074"), "!071+025.00+025.00+025.00");
  EXPECT_EQ(line.ask("$074"), "!070+025.00+025.00+025.00");
}

TEST(AnalogInput, ChecksumModuleSamplesOnlyOnBroadcastWithChecksum) {
  auto m = constantInputs("7226", 7, 0x20, 25.0);
  m.checksum = true;
  Network net({m});
  LineClient line(net.slavePath());
  line.exchange("#**", false, 50ms);
  EXPECT_EQ(line.ask("$074", true), "!070");  // nothing sampled yet
  line.exchange("#**", true, 50ms);
  EXPECT_EQ(line.ask("$074", true), "!071+025.00+025.00+025.00");
}

struct MultiFunction : ::testing::Test {
  Network net{{[] {
    auto m = constantInputs("7215", 8, 0x08, 5.0);
    m.inputToggleMask = 0;
    m.digitalInputs = 1;
    m.alarmLow = 1.0;
    m.alarmHigh = 4.0;
    return m;
  }()}};
  LineClient line{net.slavePath()};
  void input(double v) {
    net.modify(8, [v](ModuleState& m) { m.inputs[0].value = v; });
  }
};

TEST_F(MultiFunction, LimitsAreSetAndReadInEngineeringUnits) {
  EXPECT_EQ(line.ask("@08HI+06.500"), "!08");
  EXPECT_EQ(line.ask("@08LO-1.5"), "!08");
  EXPECT_EQ(line.ask("@08RH"), "!08+06.500");
  EXPECT_EQ(line.ask("@08RL"), "!08-01.500");
  EXPECT_EQ(line.ask("@08HIabc"), "?08");
}

TEST_F(MultiFunction, MomentaryAlarmDrivesOutputsAndRefusesManualOutputs) {
  EXPECT_EQ(line.ask("@08DI"), "!0800011");
  EXPECT_EQ(line.ask("@08DO02"), "!08");
  EXPECT_EQ(line.ask("@08DI"), "!0800211");
  EXPECT_EQ(line.ask("@08DO04"), "?08");
  EXPECT_EQ(line.ask("@08EAM"), "!08");
  EXPECT_EQ(line.ask("@08DI"), "!0810211");  // 5 V is above the high limit
  EXPECT_EQ(line.ask("@08DO01"), "?08");
  input(0.0);
  EXPECT_EQ(line.ask("@08DI"), "!0810111");  // low alarm
  input(2.0);
  EXPECT_EQ(line.ask("@08DI"), "!0810011");
}

TEST_F(MultiFunction, LatchedAlarmHoldsUntilCleared) {
  EXPECT_EQ(line.ask("@08EAL"), "!08");
  input(2.0);
  EXPECT_EQ(line.ask("@08DI"), "!0820211");
  EXPECT_EQ(line.ask("@08CA"), "!08");
  EXPECT_EQ(line.ask("@08DI"), "!0820011");
  EXPECT_EQ(line.ask("@08DA"), "!08");
  EXPECT_EQ(line.ask("@08DI"), "!0800011");
}

TEST_F(MultiFunction, EventCounterCountsInputPulsesAndClears) {
  net.modify(8, [](ModuleState& m) {
    m.digitalInputs = 0;
    m.inputToggleMask = 1;
    m.inputTogglePeriodS = 0.02;
  });
  std::this_thread::sleep_for(300ms);
  const auto count = line.ask("@08RE");
  ASSERT_TRUE(count);
  ASSERT_EQ(count->size(), 8u);
  EXPECT_GT(std::stoi(count->substr(3)), 3);
  EXPECT_EQ(line.ask("@08CE"), "!08");
  net.modify(8, [](ModuleState& m) { m.inputToggleMask = 0; });
  EXPECT_EQ(line.ask("@08RE"), "!0800000");
}

TEST(LinearMapping, SourceAndTargetRangesMapTheReading) {
  auto m = constantInputs("7228", 9, 0x08, 5.0);
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$096+00.000+10.000"), "!09");
  EXPECT_EQ(line.ask("$097+00.000+05.000"), "!09");
  EXPECT_EQ(line.ask("$093"), "!09+00.000+10.000");
  EXPECT_EQ(line.ask("$095"), "!09+00.000+05.000");
  EXPECT_EQ(line.ask("#09"), ">+05.000");
  EXPECT_EQ(line.ask("$09A1"), "!09");
  EXPECT_EQ(line.ask("#09"), ">+02.500");
  EXPECT_EQ(line.ask("$096+1"), "?09");
}

TEST(LinearMapping, OtherMultiFunctionModelsHaveNone) {
  Network net({makeModule("7215", 10)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$0AA1"), "?0A");
  EXPECT_EQ(line.ask("$0A3"), "?0A");
}

}  // namespace
}  // namespace orvane::sim
