// Digital I/O commands, chosen by model.
#include "driver_fixture.h"

namespace orvane::driver::test {
namespace {

using DigitalTest = DriverTest;

TEST_F(DigitalTest, WriteDOPortChecksModelValueAndGroupBeforeSending) {
  start({module("7213", 1), module("7451", 2), module("7458", 3), module("7469", 4),
         module("7472", 5)});
  auto nothingSent = [&](const std::function<void()>& action) {
    return framesOf(action, 0).empty();
  };
  EXPECT_TRUE(nothingSent([&] { EXPECT_EQ(OV_WriteDOPort(kPort, 1, 0, 4, 7213), OV_BAD_VALUE); }));
  EXPECT_TRUE(nothingSent([&] { EXPECT_EQ(OV_WriteDOPort(kPort, 5, 0, 16, 7472), OV_BAD_VALUE); }));
  EXPECT_TRUE(
      nothingSent([&] { EXPECT_EQ(OV_WriteDOPort(kPort, 3, 2, 1, 7458), OV_BAD_PORT_GROUP); }));
  EXPECT_TRUE(nothingSent([&] { EXPECT_EQ(OV_WriteDOPort(kPort, 1, 0, 1, 7226), OV_BAD_MODEL); }));
  // A bad value is refused before the selector is looked at.
  EXPECT_TRUE(
      nothingSent([&] { EXPECT_EQ(OV_WriteDOPort(kPort, 3, 9, 256, 7458), OV_BAD_VALUE); }));
}

TEST_F(DigitalTest, WriteDOPortIgnoresTheSelectorOfModelsWithoutGroups) {
  start({module("7213", 1), module("7451", 0x11), module("7472", 5)});
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_WriteDOPort(kPort, 0x11, 5, 1, 7451), OV_SUCCESS); }),
            "#110001\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_WriteDOPort(kPort, 1, 0xFFFF, 3, 8213), OV_SUCCESS); }),
            "@01DO03\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_WriteDOPort(kPort, 5, 1, 9, 7472), OV_SUCCESS); }),
            "#050009\r");
}

TEST_F(DigitalTest, WriteDOPortFramesByModel) {
  auto outputs7469 = module("7469", 4);
  outputs7469.portDirections = 0;
  start({module("7213", 1), module("7451", 2), module("7458", 3), outputs7469, module("7472", 5)});
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_WriteDOPort(kPort, 1, 0, 3, 7213), OV_SUCCESS); }),
            "@01DO03\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_WriteDOPort(kPort, 2, 0, 16, 7451), OV_SUCCESS); }),
            "#020010\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_WriteDOPort(kPort, 5, 0, 15, 7472), OV_SUCCESS); }),
            "#05000F\r");
  EXPECT_EQ(frameOf([&] { OV_WriteDOPort(kPort, 3, 1, 0xA5, 7458); }), "#030HA5\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_WriteDOPort(kPort, 4, 2, 0x5A, 7469), OV_SUCCESS); }),
            "#040C5A\r");
  // The second series behaves as its partner.
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_WriteDOPort(kPort, 4, 0, 0x01, 8469), OV_SUCCESS); }),
            "#040A01\r");
  EXPECT_EQ(frameOf([&] { OV_WriteDOPort(kPort, 1, 0, 2, 8586); }), "@01DO02\r");
}

TEST_F(DigitalTest, WriteDOLineChecksTheStateFirstThenModelAndGroup) {
  start({module("7451", 1), module("7458", 2), module("7469", 3)});
  EXPECT_TRUE(framesOf([&] { EXPECT_EQ(OV_WriteDOLine(kPort, 1, 0, 1, 2, 1234), OV_BAD_VALUE); }, 0)
                  .empty());
  EXPECT_EQ(OV_WriteDOLine(kPort, 1, 0, 1, 1, 7213), OV_BAD_MODEL);
  EXPECT_EQ(OV_WriteDOLine(kPort, 2, 2, 1, 1, 7458), OV_BAD_PORT_GROUP);
  EXPECT_EQ(frameOf([&] { OV_WriteDOLine(kPort, 1, 0, 10, 1, 7451); }), "#011A01\r");
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_WriteDOLine(kPort, 1, 0, 3, 1, 7451), OV_SUCCESS); }),
            "#011301\r");
  EXPECT_EQ(frameOf([&] { OV_WriteDOLine(kPort, 2, 1, 3, 1, 7458); }), "#02H31\r");
  EXPECT_EQ(frameOf([&] { OV_WriteDOLine(kPort, 3, 2, 7, 0, 8469); }), "#03C70\r");
}

TEST_F(DigitalTest, ReadDIDecodesEachModelsLayout) {
  auto multi = module("7213", 1);
  auto byteInputs = module("7451", 2);
  auto wordInputs = module("7455", 3);
  auto wide = module("7469", 4);
  start({multi, byteInputs, wordInputs, wide});
  uint32_t value = 0xDEAD;
  EXPECT_TRUE(
      framesOf([&] { EXPECT_EQ(OV_ReadDI(kPort, 1, &value, 7226), OV_BAD_MODEL); }, 0).empty());
  EXPECT_TRUE(
      framesOf([&] { EXPECT_EQ(OV_ReadDI(kPort, 1, &value, 7231), OV_BAD_MODEL); }, 0).empty());
  EXPECT_EQ(value, 0xDEADu);

  net->modify(2, [](sim::ModuleState& s) { s.digitalInputs = 0x25; });
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadDI(kPort, 2, &value, 7451), OV_SUCCESS); }), "$026\r");
  EXPECT_EQ(value, std::stoul(lastReply().substr(3, 2), nullptr, 16));
  EXPECT_EQ(value, 0x25u);

  net->modify(3, [](sim::ModuleState& s) { s.digitalInputs = 0x1234; });
  EXPECT_EQ(OV_ReadDI(kPort, 3, &value, 8455), OV_SUCCESS);
  EXPECT_EQ(value, std::stoul(lastReply().substr(1, 4), nullptr, 16));

  EXPECT_EQ(OV_ReadDI(kPort, 4, &value, 7469), OV_SUCCESS);
  EXPECT_EQ(value, std::stoul(lastReply().substr(4, 7), nullptr, 16));

  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadDI(kPort, 1, &value, 7213), OV_SUCCESS); }), "@01DI\r");
  EXPECT_EQ(value, static_cast<uint32_t>(lastReply()[7] - '0'));
}

TEST_F(DigitalTest, ReadBackDOGivesTheOutputLines) {
  start({module("7213", 1), module("7451", 2), module("7458", 3)});
  uint16_t value = 0;
  ASSERT_EQ(OV_WriteDOPort(kPort, 1, 0, 2, 7213), OV_SUCCESS);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadBackDO(kPort, 1, &value, 7213), OV_SUCCESS); }),
            "@01DI\r");
  EXPECT_EQ(value, 2);
  ASSERT_EQ(OV_WriteDOPort(kPort, 1, 0, 1, 7213), OV_SUCCESS);
  EXPECT_EQ(OV_ReadBackDO(kPort, 1, &value, 7213), OV_SUCCESS);
  EXPECT_EQ(value, 1);
  ASSERT_EQ(OV_WriteDOPort(kPort, 2, 0, 0x3C, 7451), OV_SUCCESS);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_ReadBackDO(kPort, 2, &value, 7451), OV_SUCCESS); }),
            "$026\r");
  EXPECT_EQ(value, 0x3C);
  EXPECT_EQ(OV_ReadBackDO(kPort, 3, &value, 7458), OV_SUCCESS);
  EXPECT_EQ(value, std::stoul(lastReply().substr(1, 4), nullptr, 16));
  EXPECT_EQ(OV_ReadBackDO(kPort, 3, &value, 7453), OV_BAD_MODEL);
}

TEST_F(DigitalTest, ModeAndPolarity) {
  start({module("7469", 1)});
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetDioMode(kPort, 1, 0x0B), OV_SUCCESS); }), "$01S0B\r");
  uint16_t mode = 99;
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_GetDioMode(kPort, 1, &mode), OV_SUCCESS); }), "$016\r");
  char digit = lastReply()[2];
  EXPECT_EQ(mode, digit <= '9' ? digit - '0' : digit - 55);
  EXPECT_EQ(frameOf([&] { EXPECT_EQ(OV_SetIoPolarity(kPort, 1, 11), OV_SUCCESS); }), "~01CP11\r");
  EXPECT_EQ(net->state(1).polarity, 3);
}

}  // namespace
}  // namespace orvane::driver::test
