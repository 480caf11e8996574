// OV_GetErrorText: every failure on a port leaves a text that names the port,
// the device and the cause, so that failures with one status (no such device,
// busy, not a tty; a refusal or a bad address) can be told apart, and a
// success clears it.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "driver_fixture.h"

namespace orvane::driver::test {
namespace {

std::string errorText(uint16_t port = kPort) {
  char text[512];
  std::memset(text, 'X', sizeof text);
  EXPECT_EQ(OV_GetErrorText(port, text, sizeof text), OV_SUCCESS);
  return text;
}

uint16_t openSlot(uint16_t port) { return OV_InitialComm(port, OV_BAUD_9600, 8, 0, 0); }

uint16_t readName() {
  char name[30];
  return OV_GetModuleName(kPort, 1, name);
}

class ErrorTextTest;

struct Case {
  const char* name;
  // Starts what the call needs, then makes the call.
  std::function<uint16_t(ErrorTextTest&)> call;
  uint16_t status;
  std::vector<std::string> fragments;  // none: the text must be empty
};

// The fixture's network and port 1 opened on it, with a fault for module 1.
struct Started {
  sim::FaultSpec fault;
  bool checksum = false;
};

class ErrorTextTest : public DriverTest, public ::testing::WithParamInterface<Case> {
 public:
  void startWith(const Started& how) {
    auto m = module("7213", 1);
    m.checksum = how.checksum;
    start({m});
    if (how.checksum) OV_EnableChecksum(kPort);
    OV_TimeOut(kPort, 50);
    net->setFault(1, how.fault);
  }
  // The network alone, port 1 named for it but not opened.
  std::string network() {
    net = std::make_unique<sim::Network>(std::vector{module("7213", 1)});
    OV_SetPortName(kPort, net->slavePath().c_str());
    return net->slavePath();
  }
};

const Case kCases[] = {
    {"NoSuchDevice",
     [](ErrorTextTest&) {
       OV_SetPortName(kPort, "/nonexistent/orvio-port");
       return openSlot(kPort);
     },
     OV_REFUSED,
     {"COM1: /nonexistent/orvio-port: cannot open: no such device"}},
    {"Busy",
     [](ErrorTextTest& t) {
       OV_SetPortName(2, t.network().c_str());
       EXPECT_EQ(openSlot(2), OV_SUCCESS);
       return openSlot(kPort);
     },
     OV_REFUSED,
     {"COM1: /dev/pts/", ": cannot open: the port is in use by another program"}},
    {"NotASerialDevice",
     [](ErrorTextTest&) {
       OV_SetPortName(kPort, "/dev/null");
       return openSlot(kPort);
     },
     OV_REFUSED,
     {"COM1: /dev/null: not a serial device"}},
    {"AlreadyOpen",
     [](ErrorTextTest& t) {
       t.startWith({});
       return openSlot(kPort);
     },
     OV_REFUSED,
     {"COM1: the port is already open; release it first"}},
    {"BadBaudCode",
     [](ErrorTextTest&) { return OV_InitialComm(kPort, 11, 8, 0, 0); },
     OV_BAD_BAUD_CODE,
     {"COM1: baud-rate code 11 is outside 3..10; nothing was opened"}},
    {"PortNotOpen",
     [](ErrorTextTest&) { return readName(); },
     OV_IO_ERROR,
     {"COM1: the port is not open"}},
    {"ReleaseOfAClosedPort",
     [](ErrorTextTest&) { return OV_ReleaseComm(kPort); },
     OV_LINE_SETTINGS_FAILED,
     {"COM1: the port is not open"}},
    {"NoReply",
     [](ErrorTextTest& t) {
       t.startWith({{.silent = true}});
       return readName();
     },
     OV_TIMEOUT,
     {"COM1: /dev/pts/", ": no reply to \"$01M\" within 50 ms"}},
    {"ReplyBrokeOff",
     [](ErrorTextTest& t) {
       t.startWith({{.reply = "!01\x07"
                              "2"}});
       return readName();
     },
     OV_TIMEOUT,
     {": the reply to \"$01M\" broke off after \"!01<07>2\": no further character within 50 ms"}},
    {"ChecksumMismatch",
     [](ErrorTextTest& t) {
       t.startWith({{.wrongChecksum = true}, true});
       return readName();
     },
     OV_CHECKSUM_ERROR,
     {": the checksum of the reply to \"$01M\" does not match: \"!017213"}},
    {"Refusal",
     [](ErrorTextTest& t) {
       t.startWith({{.refuseAll = true}});
       return readName();
     },
     OV_REFUSED,
     {": the module refused \"$01M\": \"?01\""}},
    {"StreamingLine",
     [](ErrorTextTest& t) {
       t.startWith({{.reply = std::string(300, 'x')}});
       return readName();
     },
     OV_IO_ERROR,
     {": the reply to \"$01M\" grew past 64 characters without its carriage return"}},
    {"AddressAbove255",
     [](ErrorTextTest& t) {
       t.startWith({});
       char value[30];
       return OV_ReadAI(kPort, 256, value);
     },
     OV_REFUSED,
     {"COM1: address 256 is above 255; nothing was sent"}},
    {"NullText",
     [](ErrorTextTest& t) {
       t.startWith({});
       return OV_SetDeviceID(kPort, 1, nullptr);
     },
     OV_REFUSED,
     {"COM1: a text or record argument is a null pointer"}},
    {"CommandTooLong",
     [](ErrorTextTest& t) {
       t.startWith({});
       return OV_SetDeviceID(kPort, 1, std::string(27, 'X').c_str());
     },
     OV_REFUSED,
     {"COM1: the command \"$016XXX", "is too long for the command buffer"}},
    {"ModelNotHandled",
     [](ErrorTextTest& t) {
       t.startWith({});
       return OV_WriteDOPort(kPort, 1, 0, 1, 1234);
     },
     OV_BAD_MODEL,
     {"COM1: model 1234 is not handled by this operation; nothing was sent"}},
    {"ASuccessClearsTheText",
     [](ErrorTextTest& t) {
       t.startWith({});
       EXPECT_EQ(OV_ReleaseComm(5), OV_LINE_SETTINGS_FAILED);
       EXPECT_EQ(OV_SetDeviceID(kPort, 1, nullptr), OV_REFUSED);
       return readName();
     },
     OV_SUCCESS,
     {}},
};

TEST_P(ErrorTextTest, TellsTheFailureOfTheLastCall) {
  const Case& c = GetParam();
  EXPECT_EQ(c.call(*this), c.status);
  const std::string text = errorText();
  if (c.fragments.empty()) {
    EXPECT_EQ(text, "");
  }
  for (const auto& fragment : c.fragments)
    EXPECT_NE(text.find(fragment), std::string::npos) << "\"" << fragment << "\" in: " << text;
}

INSTANTIATE_TEST_SUITE_P(Failures, ErrorTextTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DriverTest, ErrorTextBelongsToItsPortAndFitsTheCallersBuffer) {
  // A device name with a two-byte character at the cut.
  OV_SetPortName(kPort, "/nonexistent/\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(openSlot(kPort), OV_REFUSED);
  OV_SetPortName(0, "/nonexistent/zero");
  EXPECT_EQ(openSlot(0), OV_REFUSED);
  EXPECT_EQ(errorText(0).rfind("port 0: /nonexistent/zero: cannot open", 0), 0u);
  EXPECT_EQ(errorText(2), "") << "another port's failure";

  char text[32];
  std::memset(text, '#', sizeof text);
  ASSERT_EQ(OV_GetErrorText(kPort, text, 21), OV_SUCCESS);
  EXPECT_STREQ(text, "COM1: /nonexistent/") << "the 'é' would not fit whole";
  EXPECT_EQ(text[20], '#');
  ASSERT_EQ(OV_GetErrorText(kPort, text, 22), OV_SUCCESS);
  EXPECT_STREQ(text, "COM1: /nonexistent/\xC3\xA9");
  ASSERT_EQ(OV_GetErrorText(kPort, text, 1), OV_SUCCESS);
  EXPECT_STREQ(text, "");
  std::memset(text, '#', sizeof text);
  EXPECT_EQ(OV_GetErrorText(kPort, text, 0), OV_SUCCESS);
  EXPECT_EQ(OV_GetErrorText(kPort, nullptr, 10), OV_SUCCESS);
  EXPECT_EQ(OV_GetErrorText(24, text, sizeof text), OV_REFUSED);
  EXPECT_EQ(text[0], '#') << "written for size 0 or a port above 23";
  EXPECT_NE(errorText().find("cannot open"), std::string::npos) << "reading changed the text";
}

}  // namespace
}  // namespace orvane::driver::test
