// The line trace of the library's ports, written to a file against the
// simulator and read back: every frame and reply, a time-out, a checksum
// failure, the purges and a baud change, in the one format.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "comma_locale.h"
#include "driver_fixture.h"
#include "trace_lines.h"

namespace orvane::driver::test {
namespace {

namespace fs = std::filesystem;

class TraceTest : public DriverTest {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("orvio-trace-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    file = (dir / "line.trace").string();
  }
  void TearDown() override {
    OV_SetTraceFile(nullptr);
    DriverTest::TearDown();
    fs::remove_all(dir);
  }

  fs::path dir;
  std::string file;
};

TEST_F(TraceTest, FramesRepliesTimeOutChecksumFailureAndBaudChangeReadBack) {
  auto analog = module("7213", 1);
  analog.checksum = true;
  start({analog});
  orvane::test::CommaLocale comma;  // the delays keep their "."
  ASSERT_EQ(OV_SetTraceFile(file.c_str()), OV_SUCCESS);
  OV_EnableChecksum(kPort);
  char value[30];
  ASSERT_EQ(OV_ReadAI(kPort, 1, value), OV_SUCCESS);
  const std::string reply = lastReply();
  OV_TimeOut(kPort, 50);
  net->setFault(1, {.silent = true});
  EXPECT_EQ(OV_ReadAI(kPort, 1, value), OV_TIMEOUT);
  net->setFault(1, {.wrongChecksum = true});
  EXPECT_EQ(OV_ReadAI(kPort, 1, value), OV_CHECKSUM_ERROR);
  const std::string garbled = lastReply();
  ASSERT_EQ(OV_ReleaseComm(kPort), OV_SUCCESS);
  ASSERT_EQ(OV_InitialComm(kPort, OV_BAUD_19200, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
  ASSERT_EQ(OV_SetTraceFile(nullptr), OV_SUCCESS);
  OV_ReadAI(kPort, 1, value);  // after the trace was stopped: not in it

  const auto trace = orvane::test::readTraceFile(file);
  ASSERT_TRUE(trace.malformed.empty()) << trace.malformed.front();
  const struct {
    char mark;
    std::string text;
  } expected[] = {
      {'*', "purge: input and output discarded"},
      {'>', "#0184<CR>"},
      {'<', reply + "<CR>"},
      {'*', "purge: input and output discarded"},
      {'>', "#0184<CR>"},
      {'!', "time-out: no reply"},
      {'*', "purge: input and output discarded"},
      {'>', "#0184<CR>"},
      {'<', garbled + "<CR>"},
      {'!', "checksum failure in the reply " + garbled},
      {'*', "purge: input and output discarded"},
      {'*', "line set to 19200 bps, no parity"},
  };
  ASSERT_EQ(trace.lines.size(), std::size(expected));
  for (std::size_t i = 0; i < trace.lines.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(trace.lines[i].port, "COM1 " + net->slavePath());
    EXPECT_EQ(trace.lines[i].mark, expected[i].mark);
    EXPECT_EQ(trace.lines[i].text, expected[i].text);
    EXPECT_EQ(trace.lines[i].delayMs.has_value(), i == 2 || i == 5 || i == 8);
  }
  EXPECT_LT(*trace.lines[2].delayMs, 1000.0);
  EXPECT_GE(*trace.lines[5].delayMs, 50.0) << "the time-out's delay is the whole wait";
  EXPECT_LT(*trace.lines[5].delayMs, 2000.0);
}

TEST_F(TraceTest, FileThatCannotTakeTheTraceIsRefusedWithErrno) {
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  const struct {
    fs::path path;
    int error;
  } cases[] = {
      {dir / "fifo", EINVAL},
      {dir, EISDIR},
      {dir / "missing" / "line.trace", ENOENT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    errno = 0;
    EXPECT_EQ(OV_SetTraceFile(c.path.c_str()), OV_REFUSED);
    EXPECT_EQ(errno, c.error);
  }
  EXPECT_EQ(OV_SetTraceFile(""), OV_SUCCESS);
}

}  // namespace
}  // namespace orvane::driver::test
