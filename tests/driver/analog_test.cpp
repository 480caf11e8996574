// Analog I/O commands.
#include <cstdlib>
#include <cstring>

#include "driver_fixture.h"

namespace orvane::driver::test {
namespace {

using AnalogTest = DriverTest;

TEST_F(AnalogTest, WriteAORoundsToTheNearestThousandth) {
  start({module("7342", 3)});
  auto sentFor = [&](const char* value) {
    return frameOf([&] { EXPECT_EQ(OV_WriteAO(kPort, 3, value), OV_SUCCESS) << value; });
  };
  EXPECT_EQ(sentFor("5.5"), "#0305.500\r");
  EXPECT_EQ(sentFor("20"), "#0320.000\r");
  EXPECT_EQ(sentFor("10.7"), "#0310.700\r");
  EXPECT_EQ(sentFor("19.99"), "#0319.990\r");
  EXPECT_EQ(sentFor("  4.0006xyz"), "#0304.001\r");
  EXPECT_EQ(sentFor("9.9996"), "#0310.000\r");
  OV_EnableChecksum(kPort);
  net->modify(3, [](sim::ModuleState& s) { s.checksum = true; });
  EXPECT_EQ(sentFor("5.5"), "#0305.500AE\r");
}

TEST_F(AnalogTest, WriteAOWritesOneSignAndRefusesValuesThatCannotFit) {
  start({module("7342", 1)});
  OV_TimeOut(kPort, 50);
  EXPECT_EQ(frameOf([&] { OV_WriteAO(kPort, 1, "-5.5"); }), "#01-05.500\r");
  EXPECT_TRUE(framesOf([&] { EXPECT_EQ(OV_WriteAO(kPort, 1, "1e300"), OV_REFUSED); }, 0).empty());
  EXPECT_TRUE(framesOf([&] { EXPECT_EQ(OV_WriteAO(kPort, 1, nullptr), OV_REFUSED); }, 0).empty());
}

TEST_F(AnalogTest, OutputChannelsAreLettersAndTheReadBackIsTheTextFromThree) {
  start({module("7347", 1)});
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_WriteChanAO(kPort, 1, 2, "05.000"), OV_SUCCESS); }),
            "#01C05.000\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_WriteChanAO(kPort, 1, 0, "02.500"), OV_SUCCESS); }),
            "#01A02.500\r");
  char value[30] = "";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadBackAO(kPort, 1, value), OV_SUCCESS); }), "$016\r");
  EXPECT_EQ(value, lastReply().substr(3));
  uint16_t status = 9;
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ResetStatusAO(kPort, 1, &status), OV_SUCCESS); }), "$015\r");
  EXPECT_EQ(status, lastReply()[3] - '0');
}

TEST_F(AnalogTest, ReadingsAreHandedOnAsTheModuleSendsThem) {
  auto m = module("7213", 1);
  m.typeCode = 0x08;
  m.inputs[0].value = 1.25;
  start({m});
  char value[30] = "";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadAI(kPort, 1, value), OV_SUCCESS); }), "#01\r");
  EXPECT_EQ(value, lastReply().substr(1));
  EXPECT_EQ(value[0], '+');
  OV_EnableChecksum(kPort);
  net->modify(1, [](sim::ModuleState& s) { s.checksum = true; });
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadAI(kPort, 1, value), OV_SUCCESS); }), "#0184\r");
  EXPECT_EQ(value, lastReply().substr(1, lastReply().size() - 3));
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadCJC(kPort, 1, value), OV_SUCCESS); }), "$013B8\r");
  EXPECT_EQ(value, lastReply().substr(1, lastReply().size() - 3));
}

TEST_F(AnalogTest, ReadAllAICutsThreeSevenCharacterFields) {
  auto m = module("7226", 1);
  m.typeCode = 0x20;
  m.inputs[0].value = 1.25;
  m.inputs[1].value = 5.5;
  m.inputs[2].value = -0.125;
  start({m});
  char v[3][8];
  std::memset(v, '#', sizeof v);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadAllAI(kPort, 1, v[0], v[1], v[2]), OV_SUCCESS); }),
            "#01A\r");
  std::string reply = lastReply();
  ASSERT_EQ(reply.size(), 22u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(v[i], reply.substr(1 + 7 * i, 7)) << i;
}

TEST_F(AnalogTest, ChannelReadsAndTheChannelMask) {
  start({module("7231", 1)});
  char value[30] = "";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadChanAI(kPort, 1, 5, value), OV_SUCCESS); }), "#015\r");
  EXPECT_EQ(value, lastReply().substr(1));
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetMUXChans(kPort, 1, 0xF0), OV_SUCCESS); }), "$015F0\r");
  uint16_t mask = 0;
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadChanStatus(kPort, 1, &mask), OV_SUCCESS); }), "$016\r");
  EXPECT_EQ(mask, 0xF0);
  net->modify(1, [](sim::ModuleState& s) { s.channelMask = 0xFF; });
  EXPECT_EQ(OV_ReadChanStatus(kPort, 1, &mask), OV_SUCCESS);
  EXPECT_EQ(mask, 255);
}

TEST_F(AnalogTest, AlarmCommandsOfTheMultiFunctionModules) {
  auto m = module("7213", 1);
  m.typeCode = 0x08;
  start({m});
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetHighAlarmLimit(kPort, 1, "+05.000"), OV_SUCCESS); }),
            "@01HI+05.000\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetLowAlarmLimit(kPort, 1, "-02.000"), OV_SUCCESS); }),
            "@01LO-02.000\r");
  char limit[30] = "";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_GetHighAlarmLimit(kPort, 1, limit), OV_SUCCESS); }),
            "@01RH\r");
  EXPECT_STREQ(limit, "+05.000");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_GetLowAlarmLimit(kPort, 1, limit), OV_SUCCESS); }),
            "@01RL\r");
  EXPECT_STREQ(limit, "-02.000");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_EnableAlarm(kPort, 1, 1), OV_SUCCESS); }), "@01EAM\r");
  EXPECT_EQ(frameOf([&] { OV_EnableAlarm(kPort, 1, 0); }), "@01EAL\r");
  EXPECT_EQ(frameOf([&] { OV_EnableAlarm(kPort, 1, 2); }), "@01EAL\r");
  uint16_t status = 9;
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_GetAlarmStatus(kPort, 1, &status), OV_SUCCESS); }),
            "@01DI\r");
  EXPECT_EQ(status, lastReply()[3] - '0');
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ClearLatchAlarm(kPort, 1), OV_SUCCESS); }), "@01CA\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_DisableAlarm(kPort, 1), OV_SUCCESS); }), "@01DA\r");
}

TEST_F(AnalogTest, EventCounterAndLinearMapping) {
  auto m = module("7228", 1);
  m.eventCount = 42;
  start({m});
  char count[30] = "";
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadEventCount(kPort, 1, count), OV_SUCCESS); }), "@01RE\r");
  EXPECT_EQ(count, lastReply().substr(3));
  EXPECT_EQ(std::atoi(count), 42);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ResetEventCount(kPort, 1), OV_SUCCESS); }), "@01CE\r");

  EXPECT_EQ(frameOf([&] {
              EXPECT_EQ(OV_WriteMappingSource(kPort, 1, "+01.000", "+09.000"), OV_SUCCESS);
            }),
            "$016+01.000+09.000\r");
  EXPECT_EQ(frameOf([&] {
              EXPECT_EQ(OV_WriteMappingTarget(kPort, 1, "+00.000", "+05.000"), OV_SUCCESS);
            }),
            "$017+00.000+05.000\r");
  char low[8], high[8];
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadMappingSource(kPort, 1, low, high), OV_SUCCESS); }),
            "$013\r");
  EXPECT_STREQ(low, "+01.000");
  EXPECT_STREQ(high, "+09.000");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadMappingTarget(kPort, 1, low, high), OV_SUCCESS); }),
            "$015\r");
  EXPECT_STREQ(low, "+00.000");
  EXPECT_STREQ(high, "+05.000");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_EnableLinearMapping(kPort, 1, 7), OV_SUCCESS); }),
            "$01A1\r");
  EXPECT_TRUE(net->state(1).mappingEnabled);
  EXPECT_EQ(frameOf([&] { OV_EnableLinearMapping(kPort, 1, 0); }), "$01A0\r");
}

TEST_F(AnalogTest, FixedFieldsOfAShortReplyAreZeroFilled) {
  auto m = module("7228", 1);
  m.sourceLow = "+1";
  m.sourceHigh = "";
  start({m});
  char low[8], high[8];
  std::memset(low, '#', sizeof low);
  std::memset(high, '#', sizeof high);
  EXPECT_EQ(OV_ReadMappingSource(kPort, 1, low, high), OV_SUCCESS);
  std::string reply = lastReply();
  EXPECT_EQ(std::string(low), reply.substr(3, 7));
  for (int i = static_cast<int>(std::strlen(low)); i < 8; ++i) EXPECT_EQ(low[i], '\0') << i;
  for (int i = static_cast<int>(std::strlen(high)); i < 8; ++i) EXPECT_EQ(high[i], '\0') << i;
}

TEST_F(AnalogTest, ARefusedReadWritesNothing) {
  start({module("7213", 1)});
  net->setFault(1, {.refuseAll = true});
  char value[30] = "unchanged";
  char low[8] = "keep", high[8] = "keep";
  EXPECT_EQ(OV_ReadAI(kPort, 1, value), OV_REFUSED);
  EXPECT_EQ(OV_ReadMappingSource(kPort, 1, low, high), OV_REFUSED);
  EXPECT_STREQ(value, "unchanged");
  EXPECT_STREQ(low, "keep");
}

}  // namespace
}  // namespace orvane::driver::test
