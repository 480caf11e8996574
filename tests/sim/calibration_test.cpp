// Calibration that takes effect: the input error that offset and span
// calibration remove, the cold junction in thermocouple readings, and the
// 7342's trim and stored 4 mA and 20 mA points. The user is taken to apply
// the reference each step asks for on channel 0.
#include <gtest/gtest.h>

#include "line_client.h"
#include "sim/network.h"
#include "sim/network_file.h"

namespace orvane::sim {
namespace {

using test::LineClient;
using Shape = Signal::Shape;

constexpr double kTrimStep = 20.0 / 4096;  // mA

ModuleState steadyModule(const std::string& model, int address, int typeCode, double value) {
  auto m = makeModule(model, address);
  m.typeCode = typeCode;
  for (auto& s : m.inputs) s = Signal{Shape::Constant, value, 0, 1};
  return m;
}

TEST(InputCalibration, OffsetThenSpanMakeEveryChannelReadRight) {
  auto m = steadyModule("7231", 4, 0x08, 5.0);  // +/- 10V
  m.inputs[1].value = -2.0;
  m.inputOffsetError = 0.25;
  m.inputGainError = 0.02;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("#040"), ">+05.350");
  EXPECT_EQ(line.ask("#041"), ">-01.790");

  EXPECT_EQ(line.ask("$041"), "!04") << "offset, with 0 V on channel 0";
  EXPECT_EQ(line.ask("#040"), ">+05.100") << "the gain error is left";
  EXPECT_NEAR(net.state(4).inputOffsetError, 0.0, 1e-12);

  EXPECT_EQ(line.ask("$040"), "!04") << "span, with +10 V on channel 0";
  EXPECT_EQ(line.ask("#040"), ">+05.000");
  EXPECT_EQ(line.ask("#041"), ">-02.000") << "all channels share the converter";
  EXPECT_NEAR(net.state(4).inputGainError, 0.0, 1e-12);
  EXPECT_EQ(net.state(4).calibrations.at("$1"), 1);
  EXPECT_EQ(net.state(4).calibrations.at("$0"), 1);
}

TEST(InputCalibration, SpanKeepsTheZeroPointSoOffsetComesFirst) {
  auto m = steadyModule("7215", 2, 0x08, 0.0);
  m.inputOffsetError = 0.5;
  m.inputGainError = 0.05;
  Network net({m});
  LineClient line(net.slavePath());
  const auto readingAt = [&](double volts) {
    net.modify(2, [&](ModuleState& s) { s.inputs[0].value = volts; });
    return line.ask("#02");
  };
  EXPECT_EQ(readingAt(0.0), ">+00.500");
  EXPECT_EQ(readingAt(8.0), ">+08.900");

  EXPECT_EQ(line.ask("$020"), "!02") << "span alone";
  EXPECT_EQ(readingAt(0.0), ">+00.500") << "the reading at zero stays where it was";
  EXPECT_EQ(readingAt(10.0), ">+10.000");
  EXPECT_EQ(readingAt(8.0), ">+08.100");

  EXPECT_EQ(line.ask("$021"), "!02") << "offset after span shifts the span point";
  EXPECT_EQ(readingAt(8.0), ">+07.600");
  EXPECT_EQ(line.ask("$020"), "!02");
  EXPECT_EQ(readingAt(8.0), ">+08.000");
  EXPECT_EQ(readingAt(0.0), ">+00.000");
}

TEST(InputCalibration, RtdRangesCalibrateTheResistanceAtTheirReferences) {
  auto m = steadyModule("7226", 3, 0x20, 0.0);  // Pt, +/- 100C: 100 ohms at 0 C
  m.inputs[1].value = 50.0;                     // 119.25 ohms
  m.inputOffsetError = 1.0;                     // ohms
  m.inputGainError = 0.01;
  m.format = 3;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("#030"), ">+102.00");
  EXPECT_EQ(line.ask("#031"), ">+121.44");
  EXPECT_EQ(line.ask("$031"), "!03") << "50 ohms applied";
  EXPECT_EQ(line.ask("#030"), ">+100.50") << "right at 50 ohms, 1 % high from there";
  EXPECT_EQ(line.ask("$030"), "!03") << "200 ohms applied";
  EXPECT_EQ(line.ask("#030"), ">+100.00");
  EXPECT_EQ(line.ask("#031"), ">+119.25");
  net.modify(3, [](ModuleState& s) { s.format = 0; });
  EXPECT_EQ(line.ask("#031"), ">+050.00") << "degrees follow the resistance";

  // The copper range is read in ohms, with references of 0 and 60 ohms.
  net.modify(3, [](ModuleState& s) {
    s.typeCode = 0x2A;
    s.inputs[0].value = 30.0;
    s.inputOffsetError = -0.6;
    s.inputGainError = 0.02;
  });
  EXPECT_EQ(line.ask("#030"), ">+030.00") << "the errors cancel at 30 ohms";
  EXPECT_EQ(line.ask("$031"), "!03");
  EXPECT_EQ(line.ask("#030"), ">+030.60");
  EXPECT_EQ(line.ask("$030"), "!03");
  EXPECT_EQ(line.ask("#030"), ">+030.00");
  EXPECT_NEAR(net.state(3).inputGainError, 0.0, 1e-12);
}

TEST(InputCalibration, MultiFunctionReadingAndAlarmsFollowTheCalibratedInput) {
  auto m = steadyModule("7215", 5, 0x08, 5.5);
  m.inputOffsetError = 1.0;
  m.alarmMode = 1;
  m.alarmHigh = 6.0;
  m.alarmLow = -9.0;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("#05"), ">+06.500");
  EXPECT_EQ(line.ask("@05DI").value_or("").substr(0, 6), "!05102") << "high alarm on";
  EXPECT_EQ(line.ask("$051"), "!05");
  EXPECT_EQ(line.ask("#05"), ">+05.500");
  EXPECT_EQ(line.ask("@05DI").value_or("").substr(0, 6), "!05100") << "and off again";
}

TEST(ColdJunction, ItsErrorReachesThermocoupleReadingsUntilTheOffsetMendsIt) {
  auto m = steadyModule("7234", 6, 0x0F, 300.0);  // T/C Type K
  m.cjcTemperature = 25.0;                        // the sensor's reading
  m.cjcSensorError = 1.5;                         // the terminals are at 23.5
  m.cjcOffset = 0.8;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$063"), ">+025.80");
  EXPECT_EQ(line.ask("#060"), ">+0302.3");
  // 1.5 degrees below the sensor are 98 steps of 0.0153.
  EXPECT_EQ(line.ask("$069-0062"), "!06");
  EXPECT_EQ(line.ask("$063"), ">+023.50");
  EXPECT_EQ(line.ask("#060"), ">+0300.0");
  EXPECT_EQ(line.ask("$069+0000"), "!06");
  EXPECT_EQ(line.ask("#060"), ">+0301.5") << "a cleared offset leaves the sensor's error";

  // Not in ranges other than thermocouples, and offset and span leave the
  // cold junction alone.
  net.modify(6, [](ModuleState& s) {
    s.typeCode = 0x05;
    s.inputs[0].value = 1.25;
  });
  EXPECT_EQ(line.ask("#060"), ">+1.2500");
  EXPECT_EQ(line.ask("$061"), "!06");
  EXPECT_EQ(line.ask("$063"), ">+025.00");
}

class OutputCalibration : public ::testing::Test {
 protected:
  // A 7342 at 3 in 0 to 10 V whose output drives 0.0403 mA plus 0.397 % low:
  // about 5 steps high at 4 mA and 8 steps low at 20 mA.
  OutputCalibration() {
    auto m = makeModule("7342", 3);
    m.typeCode = 0x32;
    m.outputOffsetError = 0.0403;
    m.outputGainError = -0.00397;
    net_ = std::make_unique<Network>(std::vector<ModuleState>{m});
    line_ = std::make_unique<LineClient>(net_->slavePath());
  }
  double atTerminals() const { return outputAtTerminals(net_->state(3)); }
  std::optional<std::string> ask(const std::string& command) { return line_->ask(command); }
  void trim(int steps) {
    for (int i = 0; i < std::abs(steps); ++i)
      ASSERT_EQ(ask(steps > 0 ? "$03301" : "$033FF"), "!03");
  }

  std::unique_ptr<Network> net_;
  std::unique_ptr<LineClient> line_;
};

TEST_F(OutputCalibration, EachTrimMovesTheOutputOneStepAndTheReadbackShowsIt) {
  ASSERT_EQ(ask("%0303300600"), "!03");
  ASSERT_EQ(ask("#0304.000"), ">");
  EXPECT_NEAR(atTerminals(), 4.0244, 0.0001);
  EXPECT_EQ(ask("$038"), "!0304.024") << "the readback at the terminals";
  EXPECT_EQ(ask("$036"), "!0304.000") << "the value last written";
  const double before = atTerminals();
  trim(-1);
  EXPECT_NEAR(before - atTerminals(), kTrimStep * (1 - 0.00397), 1e-9);
  trim(-4);
  EXPECT_NEAR(atTerminals(), 4.0, kTrimStep / 2);
  EXPECT_EQ(ask("$038"), "!0304.000");
  EXPECT_EQ(net_->state(3).outputTrim[0], -5);

  ASSERT_EQ(ask("#0304.000"), ">") << "a new value drops the trim not stored";
  EXPECT_NEAR(atTerminals(), 4.0244, 0.0001);
  EXPECT_EQ(net_->state(3).outputTrim[0], 0);
}

TEST_F(OutputCalibration, StoredPointsCorrectTheWholeRangeAndOtherRanges) {
  ASSERT_EQ(ask("%0303300600"), "!03");
  ASSERT_EQ(ask("#0304.000"), ">");
  trim(-5);
  ASSERT_EQ(ask("$030"), "!03");
  EXPECT_NEAR(net_->state(3).outputCorrection4, -5 * kTrimStep, 1e-12);
  EXPECT_EQ(net_->state(3).outputTrim[0], 0) << "the stored point took the trim";
  EXPECT_NEAR(atTerminals(), 4.0, kTrimStep / 2) << "storing does not move the output";
  ASSERT_EQ(ask("#0320.000"), ">");
  EXPECT_NEAR(atTerminals(), 19.961, 0.001);
  trim(8);
  ASSERT_EQ(ask("$031"), "!03");
  EXPECT_NEAR(net_->state(3).outputCorrection20, 8 * kTrimStep, 1e-12);
  EXPECT_NEAR(atTerminals(), 20.0, kTrimStep / 2);
  ASSERT_EQ(ask("#0312.000"), ">");
  EXPECT_NEAR(atTerminals(), 12.0, kTrimStep / 2) << "between the points";
  EXPECT_EQ(ask("$038"), "!0312.000");

  ASSERT_EQ(ask("%0303320600"), "!03") << "back to 0 to 10 V";
  ASSERT_EQ(ask("#0305.000"), ">");
  EXPECT_NEAR(atTerminals(), 5.0, kTrimStep / 4);
  ASSERT_EQ(ask("%0303310600"), "!03") << "4 to 20 mA";
  ASSERT_EQ(ask("#0304.000"), ">");
  EXPECT_NEAR(atTerminals(), 4.0, kTrimStep / 2);
}

TEST_F(OutputCalibration, APointStoredOutsideItsCurrentIsStoredWrong) {
  ASSERT_EQ(ask("#0304.000"), ">") << "4 V in 0 to 10 V: a code of 8 mA";
  ASSERT_EQ(ask("$030"), "!03");
  EXPECT_NEAR(net_->state(3).outputCorrection4, 4.0, 1e-12);
  ASSERT_EQ(ask("%0303300600"), "!03");
  ASSERT_EQ(ask("#0304.000"), ">");
  EXPECT_GT(atTerminals(), 7.9) << "4 mA now comes out near 8 mA";
}

TEST_F(OutputCalibration, TheReadbackFollowsTheDataFormat) {
  net_->modify(3, [](ModuleState& s) {
    s.typeCode = 0x30;
    s.format = 1;
    s.outputOffsetError = -0.1;
    s.outputGainError = 0.0;
  });
  ASSERT_EQ(ask("#03+000.00"), ">");
  EXPECT_EQ(ask("$038"), "!03-000.50") << "below the low end";
  EXPECT_EQ(ask("$036"), "!03+000.00");
  net_->modify(3, [](ModuleState& s) { s.format = 2; });
  EXPECT_EQ(ask("$038"), "!03000") << "no count below 0";
  ASSERT_EQ(ask("#03800"), ">");
  EXPECT_EQ(ask("$038"), "!037EC");
}

TEST(CalibrationSettings, NetworkFilesSetTheErrors) {
  const auto modules = parseNetwork(R"({
    "modules": [
      { "model": "7234", "address": 1, "inputError": { "offset": 2.5, "gain": -0.01 },
        "cjcError": 0.7, "cjcOffset": -1.2 },
      { "model": "7342", "address": 2, "outputError": { "offset": 0.03, "gain": 0.002 },
        "outputCorrection": { "at4mA": -0.01, "at20mA": 0.02 } }
    ]})",
                                    "x.json");
  ASSERT_EQ(modules.size(), 2u);
  EXPECT_DOUBLE_EQ(modules[0].inputOffsetError, 2.5);
  EXPECT_DOUBLE_EQ(modules[0].inputGainError, -0.01);
  EXPECT_DOUBLE_EQ(modules[0].cjcSensorError, 0.7);
  EXPECT_DOUBLE_EQ(modules[0].cjcOffset, -1.2);
  EXPECT_DOUBLE_EQ(modules[1].outputOffsetError, 0.03);
  EXPECT_DOUBLE_EQ(modules[1].outputGainError, 0.002);
  EXPECT_DOUBLE_EQ(modules[1].outputCorrection4, -0.01);
  EXPECT_DOUBLE_EQ(modules[1].outputCorrection20, 0.02);

  const auto refusal = [](const std::string& text) {
    try {
      parseNetwork(text, "line.json");
    } catch (const NetworkFileError& e) {
      return std::string(e.what());
    }
    return std::string("(accepted)");
  };
  EXPECT_EQ(refusal(R"({"modules": [{"model": "7231", "address": 1,
                        "inputError": {"offset": 1, "span": 2}}]})"),
            "line.json: modules[0].inputError.span: unknown setting");
  EXPECT_EQ(refusal(R"({"modules": [{"model": "7342", "address": 1,
                        "outputError": {"gain": -1}}]})"),
            "line.json: modules[0].outputError.gain: must be above -1 and at most 1 (a fraction: "
            "0.02 is 2 % high)");
}

TEST(CalibrationSettings, TheDemoNetworkHasModulesToCalibrate) {
  const auto demo = demoNetwork();
  const auto at = [&](int address) {
    for (const auto& m : demo)
      if (m.address == address) return m;
    return ModuleState{};
  };
  EXPECT_EQ(at(1).model, "7213");
  EXPECT_NE(at(1).inputOffsetError, 0.0);
  EXPECT_NE(at(1).cjcSensorError, 0.0);
  EXPECT_EQ(at(6).model, "7234");
  EXPECT_NE(at(6).inputGainError, 0.0);
  EXPECT_NE(at(6).cjcSensorError + at(6).cjcOffset, 0.0);
  EXPECT_EQ(at(7).model, "7342");
  const double at4 = 4 * (1 + at(7).outputGainError) + at(7).outputOffsetError;
  const double at20 = 20 * (1 + at(7).outputGainError) + at(7).outputOffsetError;
  EXPECT_NEAR((at4 - 4) / kTrimStep, 5.0, 0.1) << "whole steps, so trimming can hit 4 mA";
  EXPECT_NEAR((at20 - 20) / kTrimStep, -8.0, 0.1);
}

}  // namespace
}  // namespace orvane::sim
