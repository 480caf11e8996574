// Port sessions: opening and its checks, baud rates, the slot's time-out and
// checksum flag, device naming, exclusive use and release.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "driver_fixture.h"
#include "tests/admin/terminal/guarded_fifo.h"

namespace orvane::driver::test {
namespace {

using PortSessionTest = DriverTest;

TEST_F(PortSessionTest, InitialCommChecksArgumentsInOrderAndOpensNothingOnFailure) {
  net = std::make_unique<sim::Network>(std::vector{module("7213", 1)});
  OV_SetPortName(kPort, net->slavePath().c_str());
  EXPECT_EQ(OV_InitialComm(24, 99, 99, 9, 0), OV_REFUSED);
  EXPECT_EQ(OV_InitialComm(kPort, 2, 99, 9, 0), OV_BAD_BAUD_CODE);
  EXPECT_EQ(OV_InitialComm(kPort, 11, 8, 0, 0), OV_BAD_BAUD_CODE);
  EXPECT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 3, 9, 0), OV_BAD_DATA_BITS);
  EXPECT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 9, 0, 0), OV_BAD_DATA_BITS);
  EXPECT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 8, 3, 0), OV_BAD_BAUD_CODE);
  // Nothing was opened: the slot is still closed and the port still free.
  EXPECT_EQ(OV_ReleaseComm(kPort), OV_LINE_SETTINGS_FAILED);
  EXPECT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 4, OV_PARITY_NONE, 0), OV_SUCCESS);
}

TEST_F(PortSessionTest, BaudCodesSetTheLineSpeedWithCodeNineTheFaster) {
  net = std::make_unique<sim::Network>(std::vector{module("7213", 1)});
  OV_SetPortName(kPort, net->slavePath().c_str());
  OV_TimeOut(kPort, 30);
  const int rates[] = {1200, 2400, 4800, 9600, 19200, 38400, 115200, 57600};
  for (uint16_t code = 3; code <= 10; ++code) {
    ASSERT_EQ(OV_InitialComm(kPort, code, 8, OV_PARITY_NONE, 0), OV_SUCCESS) << code;
    net->clearFrames();
    char reply[30];
    OV_SendCommand(kPort, "$01M", reply);
    ASSERT_TRUE(net->waitForFrames(1, std::chrono::milliseconds(2000)));
    EXPECT_EQ(net->frames().back().baudRate, rates[code - 3]) << "code " << code;
    ASSERT_EQ(OV_ReleaseComm(kPort), OV_SUCCESS);
  }
}

TEST_F(PortSessionTest, SecondOpenOfAnOpenSlotIsRefusedAndTheSessionGoesOn) {
  start({module("7213", 1)});
  EXPECT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_REFUSED);
  char name[30] = "";
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_SUCCESS);
  EXPECT_STREQ(name, "7213");
}

TEST_F(PortSessionTest, ReleaseClosesThePortAndAReleasedSlotCanOpenAgain) {
  start({module("7213", 1)});
  EXPECT_EQ(OV_ReleaseComm(kPort), OV_SUCCESS);
  EXPECT_EQ(OV_ReleaseComm(kPort), OV_LINE_SETTINGS_FAILED);
  char name[30] = "unchanged";
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_IO_ERROR);
  EXPECT_STREQ(name, "unchanged");
  // Released means free for anyone, this slot or another.
  OV_SetPortName(2, net->slavePath().c_str());
  ASSERT_EQ(OV_InitialComm(2, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
  EXPECT_EQ(OV_GetModuleName(2, 1, name), OV_SUCCESS);
  EXPECT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_REFUSED);
}

TEST_F(PortSessionTest, ADeviceThatCannotBeOpenedIsRefused) {
  OV_SetPortName(kPort, "/nonexistent/orvio-test-port");
  EXPECT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_REFUSED);
  EXPECT_EQ(OV_ReleaseComm(kPort), OV_LINE_SETTINGS_FAILED);
}

// Sets XDG_CONFIG_HOME to a fresh directory for the test's life.
class ConfigHome {
 public:
  ConfigHome()
      : dir_(std::filesystem::temp_directory_path() /
             ("orvio-test-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir_ / "orvane");
    const char* old = std::getenv("XDG_CONFIG_HOME");
    if (old) old_ = old;
    ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
  }
  ~ConfigHome() {
    if (old_.empty())
      ::unsetenv("XDG_CONFIG_HOME");
    else
      ::setenv("XDG_CONFIG_HOME", old_.c_str(), 1);
    std::filesystem::remove_all(dir_);
  }
  void writePortsConf(const std::string& text) {
    std::ofstream(dir_ / "orvane" / "ports.conf") << text;
  }
  std::filesystem::path portsConf() const { return dir_ / "orvane" / "ports.conf"; }

 private:
  std::filesystem::path dir_;
  std::string old_;
};

TEST_F(PortSessionTest, ComNumberMapsThroughPortsConfUnlessTheSlotIsNamed) {
  net = std::make_unique<sim::Network>(std::vector{module("7213", 1)});
  ConfigHome home;
  home.writePortsConf("# test line\nCOM7=" + net->slavePath() + "\n");
  ASSERT_EQ(OV_InitialComm(7, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
  char name[30] = "";
  EXPECT_EQ(OV_GetModuleName(7, 1, name), OV_SUCCESS);
  EXPECT_STREQ(name, "7213");
  ASSERT_EQ(OV_ReleaseComm(7), OV_SUCCESS);

  OV_SetPortName(7, "/nonexistent/orvio-test-port");
  EXPECT_EQ(OV_InitialComm(7, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_REFUSED);
  OV_SetPortName(7, "");
  EXPECT_EQ(OV_InitialComm(7, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
}

TEST_F(PortSessionTest, AUrlThatIsNotWellFormedIsRefusedAndTheNameStays) {
  net = std::make_unique<sim::Network>(std::vector{module("7213", 1)});
  ASSERT_EQ(OV_SetPortName(kPort, net->slavePath().c_str()), OV_SUCCESS);
  const struct {
    const char* url;
    const char* text;
  } cases[] = {
      {"rfc2217://10.0.0.5", "the port is missing (HOST:PORT)"},
      {"telnet://10.0.0.5:23", "no such kind of line \"telnet://\" (rfc2217:// or socket://)"},
      {"socket://10.0.0.5:4001?timeout=2", "unknown option \"timeout=2\" (logging=LEVEL)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(OV_SetPortName(kPort, c.url), OV_REFUSED);
    char text[256] = "";
    OV_GetErrorText(kPort, text, sizeof text);
    EXPECT_EQ(std::string(text), std::string("COM1: ") + c.url + ": bad network line name: " +
                                     c.text + "; the port name stays as it was");
  }
  ASSERT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
  char name[30] = "";
  EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_SUCCESS) << "the simulator, named before";
}

// Read without blocking and up to a size limit: the open is refused at once,
// not after a FIFO found a writer or /dev/zero filled the memory.
TEST_F(PortSessionTest, APortsConfThatIsNoFileRefusesTheOpenAtOnce) {
  ConfigHome home;
  {
    const admin::testing::GuardedFifo fifo(home.portsConf().string());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(OV_InitialComm(7, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_REFUSED);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1))
        << "waited for the guard's writer";
  }
  std::filesystem::remove(home.portsConf());
  std::filesystem::create_symlink("/dev/zero", home.portsConf());
  EXPECT_EQ(OV_InitialComm(7, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_REFUSED);
  EXPECT_EQ(OV_ReleaseComm(7), OV_LINE_SETTINGS_FAILED) << "nothing was opened";
}

TEST_F(PortSessionTest, APortHeldByAnotherProcessIsRefusedUntilItLetsGo) {
  net = std::make_unique<sim::Network>(std::vector{module("7213", 1)});
  OV_SetPortName(kPort, net->slavePath().c_str());
  int toParent[2], toChild[2];
  ASSERT_EQ(::pipe(toParent), 0);
  ASSERT_EQ(::pipe(toChild), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(toChild[1]);
    char opened =
        OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0) == OV_SUCCESS ? 'y' : 'n';
    (void)!::write(toParent[1], &opened, 1);
    char done;
    (void)!::read(toChild[0], &done, 1);  // holds the port until the parent has tried
    ::_exit(0);
  }
  char opened = 0;
  ASSERT_EQ(::read(toParent[0], &opened, 1), 1);
  ASSERT_EQ(opened, 'y');
  EXPECT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_REFUSED);
  ::close(toChild[1]);
  int status = 0;
  ::waitpid(child, &status, 0);
  for (int fd : {toParent[0], toParent[1], toChild[0]}) ::close(fd);
  EXPECT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
}

TEST_F(PortSessionTest, TimeOutAndChecksumFlagBelongToTheSlotAcrossRelease) {
  auto slow = module("7213", 1);
  slow.checksum = true;
  net = std::make_unique<sim::Network>(std::vector{slow});
  net->setFault(1, {.delayMs = 250});
  // Set before the port is opened.
  OV_TimeOut(kPort, 1000);
  OV_EnableChecksum(kPort);
  OV_SetPortName(kPort, net->slavePath().c_str());
  char name[30] = "";
  for (int session = 0; session < 2; ++session) {
    ASSERT_EQ(OV_InitialComm(kPort, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
    EXPECT_EQ(OV_GetModuleName(kPort, 1, name), OV_SUCCESS) << "session " << session;
    EXPECT_STREQ(name, "7213");
    ASSERT_EQ(OV_ReleaseComm(kPort), OV_SUCCESS);
  }
}

TEST_F(PortSessionTest, EveryExportRefusesAPortAbove23) {
  char text[30];
  uint16_t u16 = 0;
  uint32_t u32 = 0;
  OV_ModuleConfig config{};
  OV_ConverterConfig converter{};
  const uint16_t p = 24;
  const uint16_t results[] = {OV_InitialComm(p, OV_BAUD_9600, 8, 0, 0),
                              OV_ReleaseComm(p),
                              OV_TimeOut(p, 100),
                              OV_EnableChecksum(p),
                              OV_DisableChecksum(p),
                              OV_SetPortName(p, "/dev/null"),
                              OV_SendCommand(p, "$01M", text),
                              OV_GetErrorText(p, text, sizeof text),
                              OV_GetConfig(p, 1, &config),
                              OV_SetConfig(p, 1, &config),
                              OV_GetVersion(p, 1, text),
                              OV_GetModuleName(p, 1, text),
                              OV_Sync(p),
                              OV_ReadSyncData(p, 1, text, 7458),
                              OV_SoftReset(p, 1),
                              OV_ResetStatus(p, 1, &u16),
                              OV_HostOK(p),
                              OV_SetWDT(p, 1, 1, 1, 1),
                              OV_GetWDT(p, 1, &u16, &u16, &u16),
                              OV_SetWDT7342(p, 1, 1, 1, 9),
                              OV_GetWDT7342(p, 1, &u16, &u16, &u16),
                              OV_SetWDT7347(p, 1, 1, 1, 9, 0, 0, 0),
                              OV_GetWDT7347(p, 1, &u16, &u16, &u16, &u16, &u16, &u16),
                              OV_ConfigLeadingCode(p, 1, "A"),
                              OV_SetDelimiter(p, 1, ':'),
                              OV_GetDelimiter(p, 1, text),
                              OV_SetDeviceID(p, 1, "X"),
                              OV_GetDeviceID(p, 1, text),
                              OV_SetRTS(p, 1, 1),
                              OV_GetRTS(p, 1, &u16),
                              OV_GetCTS(p, 1, &u16),
                              OV_ReadAI(p, 1, text),
                              OV_ReadAllAI(p, 1, text, text, text),
                              OV_ReadChanAI(p, 1, 0, text),
                              OV_SetMUXChans(p, 1, 1),
                              OV_ReadChanStatus(p, 1, &u16),
                              OV_ReadCJC(p, 1, text),
                              OV_WriteAO(p, 1, "1"),
                              OV_WriteChanAO(p, 1, 0, "1"),
                              OV_ReadBackAO(p, 1, text),
                              OV_ResetStatusAO(p, 1, &u16),
                              OV_GetHighAlarmLimit(p, 1, text),
                              OV_GetLowAlarmLimit(p, 1, text),
                              OV_SetHighAlarmLimit(p, 1, "1"),
                              OV_SetLowAlarmLimit(p, 1, "1"),
                              OV_GetAlarmStatus(p, 1, &u16),
                              OV_EnableAlarm(p, 1, 1),
                              OV_DisableAlarm(p, 1),
                              OV_ClearLatchAlarm(p, 1),
                              OV_ReadEventCount(p, 1, text),
                              OV_ResetEventCount(p, 1),
                              OV_ReadMappingSource(p, 1, text, text),
                              OV_ReadMappingTarget(p, 1, text, text),
                              OV_WriteMappingSource(p, 1, "1", "2"),
                              OV_WriteMappingTarget(p, 1, "1", "2"),
                              OV_EnableLinearMapping(p, 1, 1),
                              OV_WriteDOPort(p, 1, 9, 999, 1234),
                              OV_WriteDOLine(p, 1, 9, 1, 5, 1234),
                              OV_ReadDI(p, 1, &u32, 1234),
                              OV_ReadBackDO(p, 1, &u16, 1234),
                              OV_SetDioMode(p, 1, 1),
                              OV_GetDioMode(p, 1, &u16),
                              OV_SetIoPolarity(p, 1, 1),
                              OV_ReadCtrValue(p, 1, 5, &u32),
                              OV_SetCtrInputMode(p, 1, 1),
                              OV_ReadCtrInputMode(p, 1, &u16),
                              OV_SetCtrGateMode(p, 1, 1),
                              OV_ReadCtrGateMode(p, 1, &u16),
                              OV_SetCtrMaxValue(p, 1, 5, 1),
                              OV_ReadCtrMaxValue(p, 1, 5, &u32),
                              OV_SetCtrInitialValue(p, 1, 5, 1),
                              OV_ReadCtrInitialValue(p, 1, 5, &u32),
                              OV_StartCtr(p, 1, 5, 1),
                              OV_ReadCtrStatus(p, 1, 5, &u16),
                              OV_ClearCtr(p, 1, 5),
                              OV_ReadCtrOverflowFlag(p, 1, 5, &u16),
                              OV_EnableDigitalFilter(p, 1, 1),
                              OV_ReadFilterStatus(p, 1, &u16),
                              OV_SetMinWidthAtHigh(p, 1, 1),
                              OV_ReadMinWidthAtHigh(p, 1, &u16),
                              OV_SetMinWidthAtLow(p, 1, 1),
                              OV_ReadMinWidthAtLow(p, 1, &u16),
                              OV_SetTTLInputHigh(p, 1, 1),
                              OV_ReadTTLInputHigh(p, 1, &u16),
                              OV_SetTTLInputLow(p, 1, 1),
                              OV_ReadTTLInputLow(p, 1, &u16),
                              OV_EnableCtrAlarm(p, 1, 1),
                              OV_DisableCtrAlarm(p, 1, 1),
                              OV_GetCtrAlarmStatus(p, 1, 5, &u16),
                              OV_SetCtrAlarmLimit(p, 1, 5, 1),
                              OV_ReadCtrAlarmLimit(p, 1, 5, &u32),
                              OV_DataPass(p, 1, "X", text),
                              OV_DataPassConfig(p, 1, 99),
                              OV_SetDataGate(p, 1, 1),
                              OV_Get7912Config(p, 1, &converter),
                              OV_Set7912Config(p, 1, &converter)};
  EXPECT_EQ(std::size(results), 96u) << "one call per export";
  for (std::size_t i = 0; i < std::size(results); ++i)
    EXPECT_EQ(results[i], OV_REFUSED) << "call " << i;
}

TEST_F(PortSessionTest, AnAddressAbove255IsRefusedAndNothingIsSent) {
  start({module("7213", 1)});
  char text[30];
  uint16_t u16 = 0;
  auto frames = framesOf(
      [&] {
        EXPECT_EQ(OV_ReadAI(kPort, 256, text), OV_REFUSED);
        EXPECT_EQ(OV_ResetStatus(kPort, 0x101, &u16), OV_REFUSED);
        EXPECT_EQ(OV_DataPassConfig(kPort, 300, 5), OV_REFUSED);
        EXPECT_EQ(OV_WriteDOPort(kPort, 256, 0, 1, 7451), OV_REFUSED);
      },
      0);
  EXPECT_TRUE(frames.empty());
}

}  // namespace
}  // namespace orvane::driver::test
