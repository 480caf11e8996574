// OV_SetBaudRate: the rate of an open port changes without letting it go
// (the lines of a device server: ser2net_test.cpp).
#include <chrono>
#include <string>

#include "driver_fixture.h"

namespace orvane::driver::test {
namespace {

using namespace std::chrono_literals;
using BaudRateTest = DriverTest;

sim::ModuleState at19200(const std::string& model, int address) {
  auto m = module(model, address);
  m.baudCode = 4;
  return m;
}

std::string errorText(uint16_t port) {
  char text[256] = "";
  OV_GetErrorText(port, text, sizeof text);
  return text;
}

TEST_F(BaudRateTest, TheModulesOfTheNewRateAnswerAndThePortStaysClaimed) {
  start({module("7213", 1), at19200("7231", 5)});
  OV_TimeOut(kPort, 50);
  char name[30] = "";
  EXPECT_EQ(OV_GetModuleName(kPort, 5, name), OV_TIMEOUT);
  ASSERT_EQ(OV_SetBaudRate(kPort, OV_BAUD_19200), OV_SUCCESS);
  EXPECT_EQ(OV_GetModuleName(kPort, 5, name), OV_SUCCESS);
  EXPECT_STREQ(name, "7231");
  EXPECT_EQ(net->frames().back().baudRate, 19200);
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_TIMEOUT);
  // Never released in between: another slot cannot take the device.
  OV_SetPortName(2, net->slavePath().c_str());
  EXPECT_EQ(OV_InitialComm(2, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_REFUSED);
  ASSERT_EQ(OV_SetBaudRate(kPort, OV_BAUD_9600), OV_SUCCESS);
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_SUCCESS);
  EXPECT_STREQ(name, "7213");
}

struct RefusedChange {
  uint16_t port;
  uint16_t baudCode;
  bool open;
  uint16_t status;
  const char* text;  // part of the port's error text
};

TEST_F(BaudRateTest, ABadCodeOrAClosedPortIsRefusedAndTheLineKeepsItsRate) {
  const RefusedChange cases[] = {
      {kPort, 2, true, OV_BAD_BAUD_CODE, "baud-rate code 2 is outside 3..10"},
      {kPort, 11, true, OV_BAD_BAUD_CODE, "baud-rate code 11 is outside 3..10"},
      {kPort, OV_BAUD_19200, false, OV_IO_ERROR, "the port is not open"},
      {24, OV_BAUD_19200, true, OV_REFUSED, ""},
  };
  start({module("7213", 1)});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    if (!c.open) OV_ReleaseComm(kPort);
    EXPECT_EQ(OV_SetBaudRate(c.port, c.baudCode), c.status);
    if (c.port < 24) {
      EXPECT_NE(errorText(c.port).find(c.text), std::string::npos) << errorText(c.port);
    }
    if (!c.open) {
      ASSERT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
    }
    char name[30] = "";
    EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_SUCCESS) << "the line left 9600";
  }
}

}  // namespace
}  // namespace orvane::driver::test
