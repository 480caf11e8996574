// Pulling the USB adapter at three moments of an exchange, through orvio:
// the call fails at once with OV_IO_ERROR instead of waiting out its
// time-out, nothing is thrown, its failure text says the device is
// disconnected, and after replugging a release and reopen of the same port
// number talks to the module again.
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>

#include "driver_fixture.h"
#include "unplug_moment.h"

namespace orvane::driver::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int16_t kReplyTimeoutMs = 500;
// A failure must come from the hang-up, well before a time-out could end it.
constexpr auto kFailureLimit = std::chrono::milliseconds(kReplyTimeoutMs) + 200ms;

class OrvioUnplugTest : public ::testing::TestWithParam<orvane::test::UnplugMoment> {
 protected:
  void TearDown() override {
    OV_ReleaseComm(kPort);
    OV_SetPortName(kPort, nullptr);
    OV_TimeOut(kPort, 100);
  }
  std::string link_ = ::testing::TempDir() + "orvane-orvio-unplug-" + std::to_string(::getpid());
};

TEST_P(OrvioUnplugTest, FailsAtOnceAndTheSamePortWorksAfterReopening) {
  sim::NetworkOptions options;
  options.linkPath = link_;
  sim::Network net({sim::makeModule("7213", 1)}, options);
  ASSERT_EQ(OV_SetPortName(kPort, link_.c_str()), OV_SUCCESS);
  OV_TimeOut(kPort, kReplyTimeoutMs);
  ASSERT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
  char name[30] = "";
  ASSERT_EQ(OV_GetModuleName(kPort, 1, name), OV_SUCCESS);

  orvane::test::pullAdapter(net, 1, GetParam());
  std::strcpy(name, "unchanged");
  auto started = Clock::now();
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_IO_ERROR);
  auto took = Clock::now() - started;
  EXPECT_LT(took, kFailureLimit);
  RecordProperty(
      "failureMs",
      static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
  EXPECT_STREQ(name, "unchanged");
  // Until the program reopens the port, every call fails the same way.
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_IO_ERROR);

  net.clearFaults();
  net.replug();
  EXPECT_EQ(OV_ReleaseComm(kPort), OV_SUCCESS);
  ASSERT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_SUCCESS);
  EXPECT_STREQ(name, "7213");
}

// One round of the loop docs/orvio.md shows for a pulled adapter, without
// its pause: read; on a failure take its text, and on OV_IO_ERROR release the
// port and open it again.
uint16_t roundOfTheDocumentedLoop(std::string& why) {
  char value[30];
  uint16_t status = OV_ReadAI(kPort, 1, value);
  if (status != OV_SUCCESS) {
    char text[256];
    OV_GetErrorText(kPort, text, sizeof text);
    why = text;
    if (status == OV_IO_ERROR) {
      OV_ReleaseComm(kPort);
      OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0);
    }
  }
  return status;
}

std::string errorText() {
  char text[256];
  OV_GetErrorText(kPort, text, sizeof text);
  return text;
}

TEST_P(OrvioUnplugTest, TheDocumentedLoopSaysWhyAndRecoversOnceTheAdapterIsBack) {
  sim::NetworkOptions options;
  options.linkPath = link_;
  sim::Network net({sim::makeModule("7213", 1)}, options);
  ASSERT_EQ(OV_SetPortName(kPort, link_.c_str()), OV_SUCCESS);
  ASSERT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
  std::string why;
  ASSERT_EQ(roundOfTheDocumentedLoop(why), OV_SUCCESS);

  orvane::test::pullAdapter(net, 1, GetParam());
  EXPECT_EQ(roundOfTheDocumentedLoop(why), OV_IO_ERROR);
  EXPECT_NE(why.find(link_ + ": "), std::string::npos) << why;
  EXPECT_NE(why.find("device disconnected (release the port and open it again"), std::string::npos)
      << why;
  // The reopen of that round failed: the adapter is still out.
  EXPECT_NE(errorText().find(link_ + ": cannot open: no such device"), std::string::npos)
      << errorText();
  EXPECT_EQ(roundOfTheDocumentedLoop(why), OV_IO_ERROR);
  EXPECT_EQ(why, "COM1: the port is not open");

  net.clearFaults();
  net.replug();
  EXPECT_EQ(roundOfTheDocumentedLoop(why), OV_IO_ERROR) << "the port was still closed";
  EXPECT_EQ(roundOfTheDocumentedLoop(why), OV_SUCCESS);
  EXPECT_EQ(errorText(), "");
}

INSTANTIATE_TEST_SUITE_P(Moments, OrvioUnplugTest, orvane::test::kUnplugMoments,
                         orvane::test::unplugMomentName);

}  // namespace
}  // namespace orvane::driver::test
