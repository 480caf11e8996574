// orvio on a COM port named by the URL of a line on the real ser2net in front
// of the simulator: over RFC 2217 every OV_InitialComm sets the device
// server's line to its rate (the simulator's modules answer only at their
// own), over raw TCP the line stays at the server's speed and a rate it
// cannot take is told in the port's text.
#include <stdlib.h>

#include <filesystem>

#include "driver_fixture.h"
#include "ser2net_server.h"

namespace orvane::driver::test {
namespace {

// Through ser2net on a loaded machine; a module that is not meant to answer
// costs this much.
constexpr int16_t kTimeoutMs = 700;
constexpr uint16_t kAt9600 = 1;
constexpr uint16_t kAt19200 = 5;

std::string errorText() {
  char text[512] = "";
  OV_GetErrorText(kPort, text, sizeof text);
  return text;
}

std::string moduleName(uint16_t address, uint16_t& status) {
  char name[30] = "";
  status = OV_GetModuleName(kPort, address, name);
  return name;
}

class OrvioSer2netTest : public DriverTest {
 protected:
  void SetUp() override {
    if (orvane::test::Ser2net::program().empty())
      GTEST_SKIP() << "ser2net is not installed (Debian package ser2net, which scripts/setup "
                      "installs)";
    char pattern[] = "/tmp/orvio-ser2net-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    sim::NetworkOptions options;
    options.linkPath = (dir_ / "line").string();
    auto fast = module("7231", kAt19200);
    fast.baudCode = 4;
    net = std::make_unique<sim::Network>(std::vector{module("7213", kAt9600), fast}, options);
    server_ = std::make_unique<orvane::test::Ser2net>(options.linkPath, dir_);
    server_->start();
    OV_TimeOut(kPort, kTimeoutMs);
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

TEST_F(OrvioSer2netTest, AnRfc2217LineIsSetToTheRateOfEachOpen) {
  ASSERT_EQ(OV_SetPortName(kPort, server_->rfc2217Url().c_str()), OV_SUCCESS);
  const struct {
    uint16_t baudCode;
    uint16_t answering;
    const char* model;
    uint16_t silent;
  } opens[] = {{OV_BAUD_9600, kAt9600, "7213", kAt19200},
               {OV_BAUD_19200, kAt19200, "7231", kAt9600},
               {OV_BAUD_9600, kAt9600, "7213", kAt19200}};
  for (const auto& open : opens) {
    SCOPED_TRACE(open.model);
    ASSERT_EQ(OV_InitialComm(kPort, open.baudCode, 8, OV_PARITY_NONE, 0), OV_SUCCESS)
        << errorText() << server_->output();
    uint16_t status = 0;
    EXPECT_EQ(moduleName(open.answering, status), open.model) << errorText();
    EXPECT_EQ(status, OV_SUCCESS);
    moduleName(open.silent, status);
    EXPECT_EQ(status, OV_TIMEOUT) << "the module at the other rate does not hear it";
    EXPECT_EQ(OV_ReleaseComm(kPort), OV_SUCCESS);
  }
}

TEST_F(OrvioSer2netTest, ARawTcpLineStaysAtTheRateItWasFirstOpenedWith) {
  const std::string url = server_->socketUrl();
  ASSERT_EQ(OV_SetPortName(kPort, url.c_str()), OV_SUCCESS);
  const std::string note = "COM1: " + url +
                           " is a network line at a fixed speed: it stays at 9600 bps, the rate "
                           "it was first opened with, and cannot be set to 19200 bps";
  const struct {
    uint16_t baudCode;
    std::string text;  // of OV_InitialComm
  } opens[] = {{OV_BAUD_9600, ""}, {OV_BAUD_19200, note}, {OV_BAUD_9600, ""}};
  for (const auto& open : opens) {
    SCOPED_TRACE(open.baudCode);
    EXPECT_EQ(OV_InitialComm(kPort, open.baudCode, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
    EXPECT_EQ(errorText(), open.text) << server_->output();
    uint16_t status = 0;
    EXPECT_EQ(moduleName(kAt9600, status), "7213") << "whatever rate was asked: " << errorText();
    EXPECT_EQ(errorText(), "") << "the next call that succeeds clears the note";
    moduleName(kAt19200, status);
    EXPECT_EQ(status, OV_TIMEOUT);
    EXPECT_EQ(OV_ReleaseComm(kPort), OV_SUCCESS);
  }
}

}  // namespace
}  // namespace orvane::driver::test
