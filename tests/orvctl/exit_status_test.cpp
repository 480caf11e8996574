// Exit statuses and the one line on stderr that says what went wrong and
// what to do.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "orvctl_fixture.h"

namespace orvctl::test {
namespace {

struct StatusCase {
  std::vector<std::string> args;
  int status;
  const char* says;  // part of the line on stderr
};

const StatusCase kCases[] = {
    {{"info", "1"}, 0, ""},
    {{"info", "30"}, 1, "no reply to"},
    {{"send", "$01Q"}, 1, "the module refused \"$01Q\""},
    {{"config", "1", "--baud", "19200"}, 1, "only in its initialization state"},
    {{"frobnicate"}, 2, "unknown command \"frobnicate\""},
    {{"info"}, 2, "info: too few arguments"},
    {{"info", "256"}, 2, "address 256 is no module address"},
    {{"-b", "300", "info", "1"}, 2, "baud rate 300 is none of"},
    {{"--json", "--csv", "info", "1"}, 2, "exclude each other"},
    {{"read", "9", "3"}, 2, "has no channels"},
    {{"-b", "19200", "write", "5", "1.5"}, 2, "has no analog output (family analog-input)"},
    {{"write", "9", "--do", "1FF"}, 2, "is not two hexadecimal digits"},
    {{"scan", "--from", "9", "--to", "3"}, 2, "--from is above --to"},
    {{"-p", "COM24", "info", "1"}, 2, "the library has the slots COM0 to COM23"},
    {{"-p", "/nonexistent/orvctl-port", "info", "1"},
     3,
     "/nonexistent/orvctl-port: cannot open: no such device"},
};

TEST_F(OrvctlTest, ExitStatusAndOneLineOnStderrThatSaysWhatToDo) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const Outcome outcome = run(c.args);
    EXPECT_EQ(outcome.status, c.status) << outcome.err;
    if (c.status == 0) {
      EXPECT_EQ(outcome.err, "");
      continue;
    }
    EXPECT_EQ(lines(outcome.err).size(), 1u) << outcome.err;
    EXPECT_EQ(outcome.err.rfind("orvctl: ", 0), 0u) << outcome.err;
    EXPECT_NE(outcome.err.find(c.says), std::string::npos) << outcome.err;
    if (c.status == 2) {
      EXPECT_NE(outcome.err.find("(see orvctl --help)"), std::string::npos);
      EXPECT_EQ(outcome.out, "");
    }
  }
}

TEST_F(OrvctlTest, APortHeldByAnotherProgramIsStatusThreeWithTheLibrarysText) {
  const int fd = ::open(net->slavePath().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  const Outcome outcome = run({"info", "1"});
  ::close(fd);
  EXPECT_EQ(outcome.status, 3);
  EXPECT_NE(outcome.err.find("cannot open: the port is in use by another program"),
            std::string::npos)
      << outcome.err;
}

TEST_F(OrvctlTest, TheDefaultPortIsCom1AsPortsConfNamesIt) {
  const auto home =
      std::filesystem::path(::testing::TempDir()) / ("orvctl-config-" + std::to_string(::getpid()));
  std::filesystem::create_directories(home / "orvane");
  std::ofstream(home / "orvane" / "ports.conf") << "COM1=" << net->slavePath() << "\n";
  const Outcome outcome = runOrvctl({"send", "$01M"}, {{"XDG_CONFIG_HOME", home.string()}});
  std::filesystem::remove_all(home);
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "!017213\n");
}

TEST_F(OrvctlTest, TraceWritesTheFramesToTheFileAndRefusesAFifo) {
  const auto dir =
      std::filesystem::path(::testing::TempDir()) / ("orvctl-trace-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string trace = (dir / "line.trace").string();
  const Outcome sent = run({"--trace", trace, "send", "$01M"});
  EXPECT_EQ(sent.status, 0) << sent.err;
  std::ifstream in(trace);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find(" > $01M<CR>"), std::string::npos) << text;
  EXPECT_NE(text.find(" < !017213<CR>"), std::string::npos) << text;

  const std::string fifo = (dir / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const Outcome refused = run({"--trace", fifo, "send", "$01M"});
  std::filesystem::remove_all(dir);
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("--trace " + fifo + ": "), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace orvctl::test
