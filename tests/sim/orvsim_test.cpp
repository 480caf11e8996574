// The orvsim program: link, first line, signals, bad network files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "line_client.h"
#include "orvane_version.h"
#include "trace_lines.h"

extern char** environ;

namespace orvane::sim {
namespace {

using namespace std::chrono_literals;

// orvsim running with its stdout and stderr on a pipe.
class Program {
 public:
  explicit Program(std::vector<std::string> args) {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    args.insert(args.begin(), ORVSIM_PATH);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, ORVSIM_PATH, &actions, nullptr, argv.data(), environ) != 0)
      throw std::runtime_error("spawn");
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    out_ = fds[0];
  }
  ~Program() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
  }

  // Output until it holds the text or the time-out passed.
  std::string readUntil(const std::string& text, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (output_.find(text) == std::string::npos && std::chrono::steady_clock::now() < end) {
      pollfd p{out_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      char buffer[256];
      const auto n = ::read(out_, buffer, sizeof buffer);
      if (n <= 0) break;
      output_.append(buffer, static_cast<std::size_t>(n));
    }
    return output_;
  }

  // The reader of the program's output goes away.
  void closeOutput() {
    ::close(out_);
    out_ = -1;
  }

  int stop(int signal) {
    ::kill(pid_, signal);
    return wait();
  }
  int wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string output_;
};

// The lines of the output in the line trace's format.
std::vector<orvane::test::TraceLine> traceLinesOf(const std::string& output) {
  std::vector<orvane::test::TraceLine> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);)
    if (auto parsed = orvane::test::parseTraceLine(line)) lines.push_back(*parsed);
  return lines;
}

TEST(Orvsim, RunsDemoNetworkOnLinkAndStopsCleanlyOnSignals) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGPIPE}) {
    SCOPED_TRACE(signal);
    const std::string link = ::testing::TempDir() + "orvsim-program-link";
    Program orvsim({"--link", link, "-v"});
    const std::string listing = orvsim.readUntil("(demo network)", 3000ms);
    ASSERT_EQ(listing.rfind("/dev/pts/", 0), 0u) << listing;
    {
      test::LineClient line(link);
      EXPECT_EQ(line.ask("$01M"), "!017213");
    }
    const std::string out = orvsim.readUntil("> !017213<CR>", 2000ms);
    const auto frames = traceLinesOf(out);
    ASSERT_EQ(frames.size(), 3u) << out;
    EXPECT_EQ(frames[0].mark, '*');
    EXPECT_EQ(frames[0].text, "line set to 9600 bps, no parity");
    EXPECT_EQ(frames[1].mark, '<');
    EXPECT_EQ(frames[1].text, "$01M<CR>");
    EXPECT_EQ(frames[2].mark, '>');
    EXPECT_EQ(frames[2].text, "!017213<CR>");
    EXPECT_TRUE(frames[2].delayMs) << "the reply's delay after the frame";
    for (const auto& f : frames) EXPECT_EQ(f.port, "orvsim " + link);
    EXPECT_EQ(orvsim.stop(signal), 0);
    EXPECT_NE(::access(link.c_str(), F_OK), 0);
  }
}

TEST(Orvsim, StopsCleanlyWhenTheReaderOfItsLogGoesAway) {
  const std::string link = ::testing::TempDir() + "orvsim-pipe-link";
  Program orvsim({"--link", link, "-v"});
  ASSERT_NE(orvsim.readUntil("(demo network)", 3000ms).find("(demo network)"), std::string::npos);
  orvsim.closeOutput();
  {
    test::LineClient line(link);
    line.sendRaw("$01M\r");  // logging it fails
  }
  EXPECT_EQ(orvsim.wait(), 0);
  EXPECT_NE(::access(link.c_str(), F_OK), 0);
}

TEST(Orvsim, NetworkFileFaultsApplyToTheLine) {
  const std::string file = ::testing::TempDir() + "orvsim-faults.json";
  const std::string link = ::testing::TempDir() + "orvsim-faults-link";
  std::ofstream(file) << R"({"modules": [{"model": "7213", "address": 1,
      "faults": [{"command": "$AAM", "reply": ">bad\u0000\r"}, {"refuseAll": true}]}]})";
  Program orvsim({"--network", file, "--link", link});
  ASSERT_NE(orvsim.readUntil("7213", 3000ms).find("7213"), std::string::npos);
  test::LineClient line(link);
  EXPECT_EQ(line.exchange("$01M"), std::string(">bad\0\r", 6));
  EXPECT_EQ(line.ask("$01F"), "?01");
}

TEST(Orvsim, JsonLibraryErrorIsNamedWithExitStatus2) {
  const std::string file = ::testing::TempDir() + "orvsim-overflow.json";
  std::ofstream(file) << R"({"modules": [{"model": "7213", "address": 1e999}]})";
  Program orvsim({"--network", file});
  const std::string out = orvsim.readUntil("\n", 3000ms);
  EXPECT_EQ(orvsim.wait(), 2);
  EXPECT_EQ(out, "orvsim: " + file + ": line 1, column 43: the number 1e999 is out of range\n");
}

TEST(Orvsim, BadNetworkFileIsNamedWithExitStatus2) {
  const std::string file = ::testing::TempDir() + "orvsim-bad.json";
  std::ofstream(file) << R"({"modules": [{"model": "7213", "address": 1, "baud": 300}]})";
  Program orvsim({"--network", file});
  const std::string out = orvsim.readUntil("\n", 3000ms);
  EXPECT_EQ(orvsim.wait(), 2);
  EXPECT_EQ(out, "orvsim: " + file + ": modules[0].baud: 300 is not a module baud rate\n");
}

// A FIFO or a device given as the network file is refused at once: the
// program neither waits for a writer nor reads for ever.
TEST(Orvsim, NetworkFileThatIsNoRegularFileIsRefusedAtOnce) {
  const std::string fifo = ::testing::TempDir() + "orvsim-fifo.json";
  ::unlink(fifo.c_str());
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    std::string path;
    std::string cause;
  } cases[] = {
      {fifo, "is not a regular file (a FIFO)"},
      {"/dev/zero", "is not a regular file (a character device)"},
  };
  for (const auto& c : cases) {
    Program orvsim({"--network", c.path});
    // Checked before waiting for the program, which is killed if it hangs.
    ASSERT_EQ(orvsim.readUntil("\n", 3000ms), "orvsim: " + c.path + ": " + c.cause + "\n");
    EXPECT_EQ(orvsim.wait(), 2);
  }
  ::unlink(fifo.c_str());
}

TEST(Orvsim, UnknownOptionShowsUsage) {
  Program orvsim({"--speed"});
  EXPECT_NE(orvsim.readUntil("usage", 3000ms).find("usage: orvsim"), std::string::npos);
  EXPECT_EQ(orvsim.wait(), 2);
}

// The packages, the About box and orvsim carry one version.
TEST(Orvsim, VersionAndHelpArePrintedWithStatus0) {
  Program version({"--version"});
  EXPECT_EQ(version.readUntil("\n", 3000ms), "orvsim " ORVANE_VERSION "\n");
  EXPECT_EQ(version.wait(), 0);
  Program help({"--help", "--link", "/nonexistent/line"});
  EXPECT_EQ(help.readUntil("--version", 3000ms).rfind("usage: orvsim", 0), 0u);
  EXPECT_EQ(help.wait(), 0) << "help ends before any line is made";
}

}  // namespace
}  // namespace orvane::sim
