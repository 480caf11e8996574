// OV_SetBaudRate: the rate of an open port changes without letting it go, on
// a pseudo-terminal and on the lines of a device server.
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "driver_fixture.h"
#include "ser2net_server.h"

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

// Through the real ser2net: over RFC 2217 the server's line takes the new
// rate; a raw TCP line stays at its server's speed and says so.
class BaudRateNetworkLineTest : public DriverTest {
 protected:
  void SetUp() override {
    if (orvane::test::Ser2net::program().empty())
      GTEST_SKIP() << "ser2net is not installed (Debian package ser2net, which scripts/setup "
                      "installs)";
    char pattern[] = "/tmp/orvio-baud-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    sim::NetworkOptions options;
    options.linkPath = (dir_ / "line").string();
    net =
        std::make_unique<sim::Network>(std::vector{module("7213", 1), at19200("7231", 5)}, options);
    server_ = std::make_unique<orvane::test::Ser2net>(options.linkPath, dir_);
    server_->start();
    OV_TimeOut(kPort, 700);  // a module that is not meant to answer costs this
  }
  void TearDown() override {
    OV_ReleaseComm(kPort);
    server_.reset();
    DriverTest::TearDown();
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  std::filesystem::path dir_;
  std::unique_ptr<orvane::test::Ser2net> server_;
};

// Opens the line at 9600, changes it to 19200 and asks the module that
// should answer then; the note is part of the text the change leaves.
void changeRate(const std::string& url, uint16_t answering, const std::string& note) {
  ASSERT_EQ(OV_SetPortName(kPort, url.c_str()), OV_SUCCESS);
  ASSERT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_SUCCESS)
      << errorText(kPort);
  ASSERT_EQ(OV_SetBaudRate(kPort, OV_BAUD_19200), OV_SUCCESS) << errorText(kPort);
  EXPECT_NE(errorText(kPort).find(note), std::string::npos) << errorText(kPort);
  EXPECT_EQ(note.empty(), errorText(kPort).empty()) << errorText(kPort);
  char name[30] = "";
  EXPECT_EQ(OV_GetModuleName(kPort, answering, name), OV_SUCCESS) << errorText(kPort);
  EXPECT_STREQ(name, answering == 5 ? "7231" : "7213");
}

TEST_F(BaudRateNetworkLineTest, AnRfc2217LineSetsTheServersLineToTheNewRate) {
  changeRate(server_->rfc2217Url(), 5, "");
}

TEST_F(BaudRateNetworkLineTest, ARawTcpLineKeepsTheServersSpeedAndSaysSo) {
  changeRate(server_->socketUrl(), 1, "stays at 9600 bps, the rate it was first opened with");
}

}  // namespace
}  // namespace orvane::driver::test
