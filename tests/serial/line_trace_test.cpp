// The line trace: its one line format, and what a line against the simulator
// on a real pty puts into it (a listener, a trace file shared by two
// programs, and nothing at all while it is off).
#include "serial/line_trace.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "line_exchange.h"
#include "serial/line.h"
#include "sim/network.h"
#include "temp_dir.h"
#include "trace_lines.h"

extern char** environ;

namespace orvane::serial {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(TraceFormat, FramesShowControlCharactersReadably) {
  const struct {
    std::string bytes;
    std::string shown;
  } cases[] = {
      {"$01M\r", "$01M<CR>"},
      {"!017213\r\n", "!017213<CR><LF>"},
      {std::string("A\0B", 3), "A<0x00>B"},
      {"\x1b\x7f\x80\xff", "<0x1B><0x7F><0x80><0xFF>"},
      {"\t", "<0x09>"},
      {" ~}{", " ~}{"},
      {"<CR>", "<0x3C>CR>"},  // a literal "<CR>" never reads as a carriage return
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(traceFrameText(c.bytes), c.shown) << c.shown;
}

// 2026-05-04 14:03:07.023456 local time, whatever the time zone.
std::chrono::system_clock::time_point localMoment() {
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 4;
  local.tm_mday = 4;
  local.tm_hour = 14;
  local.tm_min = 3;
  local.tm_sec = 7;
  local.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&local)) + 23456us;
}

TEST(TraceFormat, EveryKindOfEventHasItsLine) {
  auto event = [](TraceKind kind, std::string bytes = {}) {
    TraceEvent e;
    e.kind = kind;
    e.at = localMoment();
    e.port = "COM3 rfc2217://host:7001";
    e.bytes = std::move(bytes);
    return e;
  };
  TraceEvent reply = event(TraceKind::Received, "!017213\r");
  reply.delay = 12345us;
  TraceEvent answer = event(TraceKind::Sent, "!017213\r");  // the simulator's reply
  answer.delay = 5us;
  TraceEvent silence = event(TraceKind::TimedOut);
  silence.delay = 100007us;
  TraceEvent brokenOff = event(TraceKind::TimedOut, "!01");
  brokenOff.delay = 2000000us;
  TraceEvent purge = event(TraceKind::Purged);
  TraceEvent purgeInput = event(TraceKind::Purged);
  purgeInput.inputOnly = true;
  purgeInput.dropped = 9;
  TraceEvent oneByte = event(TraceKind::Purged);
  oneByte.dropped = 1;
  TraceEvent baud = event(TraceKind::BaudChanged);
  baud.baudRate = 19200;
  TraceEvent odd = event(TraceKind::BaudChanged);
  odd.baudRate = 115200;
  odd.parity = Parity::Odd;
  TraceEvent fixed = event(TraceKind::BaudChanged);
  fixed.baudRate = 9600;
  fixed.fixedSpeed = true;
  const struct {
    TraceEvent event;
    std::string text;
  } cases[] = {
      {event(TraceKind::Sent, "$01M\r"), "> $01M<CR>"},
      {reply, "< !017213<CR>  12.345 ms"},
      {answer, "> !017213<CR>  0.005 ms"},
      {event(TraceKind::Received, "!01"), "< !01"},
      {silence, "! time-out: no reply  100.007 ms"},
      {brokenOff, "! time-out: the reply broke off after !01  2000.000 ms"},
      {event(TraceKind::ChecksumFailed, "!017213FF"), "! checksum failure in the reply !017213FF"},
      {purge, "* purge: input and output discarded"},
      {purgeInput, "* purge: input discarded (9 bytes unread)"},
      {oneByte, "* purge: input and output discarded (1 byte unread)"},
      {baud, "* line set to 19200 bps, no parity"},
      {odd, "* line set to 115200 bps, odd parity"},
      {fixed, "* line at the device server's fixed speed (9600 bps asked)"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(formatTraceLine(c.event),
              "2026-05-04 14:03:07.023456 COM3 rfc2217://host:7001 " + c.text);
}

// What listeners received, taken on the line's thread.
class Recorder {
 public:
  TraceSubscription subscribe() {
    return subscribeTrace([this](const TraceEvent& e) {
      std::lock_guard lock(mutex_);
      events_.push_back(e);
    });
  }
  std::vector<TraceEvent> events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<TraceEvent> events_;
};

class LineTraceTest : public ::testing::Test {
 protected:
  sim::Network network{{sim::makeModule("7213", 1)}};
  std::unique_ptr<Line> line = openLine(network.slavePath(), "COM1");
  std::string port = "COM1 " + network.slavePath();
};

TEST_F(LineTraceTest, ListenerSeesEveryFrameReplyTimeOutPurgeAndBaudChange) {
  line->configure(9600);
  Recorder recorder;
  auto subscription = recorder.subscribe();
  ASSERT_TRUE(traceActive());

  EXPECT_EQ(orvane::test::exchange(*line, "$01M\r", 1000ms), "!017213");
  network.setFault(1, sim::FaultSpec{.silent = true});
  EXPECT_EQ(orvane::test::exchange(*line, "$01F\r", 60ms), std::nullopt);
  network.setFault(1, sim::FaultSpec{.noCarriageReturn = true});
  EXPECT_EQ(orvane::test::exchange(*line, "$01M\r", 60ms), std::nullopt);
  line->configure(19200, Parity::Even);
  line->traceChecksumFailure("!01721300");
  line->purgeInput();

  const auto events = recorder.events();
  const struct {
    TraceKind kind;
    std::string bytes;
  } expected[] = {
      {TraceKind::Purged, ""},
      {TraceKind::Sent, "$01M\r"},
      {TraceKind::Received, "!017213\r"},
      {TraceKind::Purged, ""},
      {TraceKind::Sent, "$01F\r"},
      {TraceKind::TimedOut, ""},
      {TraceKind::Purged, ""},
      {TraceKind::Sent, "$01M\r"},
      {TraceKind::TimedOut, "!017213"},
      {TraceKind::BaudChanged, ""},
      {TraceKind::ChecksumFailed, "!01721300"},
      {TraceKind::Purged, ""},
  };
  ASSERT_EQ(events.size(), std::size(expected));
  for (std::size_t i = 0; i < events.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(events[i].kind, expected[i].kind);
    EXPECT_EQ(events[i].bytes, expected[i].bytes);
    EXPECT_EQ(events[i].port, port);
    if (i > 0) {
      EXPECT_GE(events[i].at, events[i - 1].at);
    }
  }
  ASSERT_TRUE(events[2].delay && events[5].delay && events[8].delay);
  EXPECT_LT(*events[2].delay, 1000ms) << "the reply's delay is its own, not the time-out";
  EXPECT_GE(*events[5].delay, 60ms) << "a time-out comes after the whole time-out";
  EXPECT_LT(*events[5].delay, 2000ms);
  EXPECT_GE(*events[8].delay, 60ms);
  EXPECT_FALSE(events[1].delay) << "a frame sent has no delay";
  EXPECT_EQ(events[9].baudRate, 19200);
  EXPECT_EQ(events[9].parity, Parity::Even);
  EXPECT_TRUE(events[11].inputOnly);
  EXPECT_FALSE(events[0].inputOnly);
}

// A late reply is counted by the purge before the next frame.
TEST_F(LineTraceTest, PurgeCountsTheLateReplyItDrops) {
  line->configure(9600);
  Recorder recorder;
  auto subscription = recorder.subscribe();
  network.setFault(1, sim::FaultSpec{.delayMs = 80});
  EXPECT_EQ(orvane::test::exchange(*line, "$01M\r", 20ms), std::nullopt);
  ASSERT_TRUE(line->waitReadable(2000ms));
  std::this_thread::sleep_for(50ms);  // the whole reply: 8 characters at once
  line->purge();
  const auto events = recorder.events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().kind, TraceKind::Purged);
  EXPECT_EQ(events.back().dropped, 8u);
}

// Switched on between the send and the reply, the trace knows no send to
// measure the reply's delay from, and says none rather than a wrong one.
TEST_F(LineTraceTest, ReplyToASendBeforeTheTraceWasOnHasNoDelay) {
  line->configure(9600);
  {
    Recorder earlier;
    auto subscription = earlier.subscribe();
    EXPECT_EQ(orvane::test::exchange(*line, "$01M\r", 1000ms), "!017213");
  }
  line->purge();
  ASSERT_TRUE(line->write("$01M\r", 1000ms));
  Recorder recorder;
  auto subscription = recorder.subscribe();
  std::string reply;
  while (auto byte = line->readByte(1000ms)) {
    if (*byte == '\r') break;
  }
  const auto events = recorder.events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].bytes, "!017213\r");
  EXPECT_FALSE(events[0].delay);
}

TEST_F(LineTraceTest, OffCostsNothingNoFileAndNoListener) {
  test::TempDir dir;
  const fs::path file = dir.path() / "trace";
  line->configure(9600);
  Recorder recorder;
  {
    auto subscription = recorder.subscribe();
    openTraceFile(file.string());
    closeTraceFile();
  }
  fs::remove(file);
  ASSERT_FALSE(traceActive());

  EXPECT_EQ(orvane::test::exchange(*line, "$01M\r", 1000ms), "!017213");
  line->configure(19200);
  line->traceChecksumFailure("!017213FF");
  EXPECT_FALSE(fs::exists(file));
  EXPECT_TRUE(recorder.events().empty());
}

TEST_F(LineTraceTest, TraceFileTakesEveryLineAndRefusesWhatIsNoFile) {
  test::TempDir dir;
  const fs::path file = dir.path() / "trace";
  line->configure(9600);
  openTraceFile(file.string());
  EXPECT_EQ(orvane::test::exchange(*line, "$01M\r", 1000ms), "!017213");

  const fs::path fifo = dir.path() / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const fs::path& wrong : {fifo, dir.path(), dir.path() / "no" / "file"}) {
    SCOPED_TRACE(wrong);
    EXPECT_THROW(openTraceFile(wrong.string()), TraceFileError);
  }
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  EXPECT_THROW(openTraceFile(fifo.string()), TraceFileError) << "a FIFO with a reader too";
  ::close(reader);
  EXPECT_EQ(orvane::test::exchange(*line, "$01M\r", 1000ms), "!017213") << "the file stays in use";
  closeTraceFile();

  const auto trace = orvane::test::readTraceFile(file.string());
  EXPECT_TRUE(trace.malformed.empty()) << trace.malformed.front();
  std::string marks;
  for (const auto& l : trace.lines) {
    marks += l.mark;
    EXPECT_EQ(l.port, port);
  }
  EXPECT_EQ(marks, "*><*><");
  EXPECT_EQ(trace.lines[2].text, "!017213<CR>");
  EXPECT_TRUE(trace.lines[2].delayMs);
}

std::string traceWriter() { return ORVANE_TRACE_WRITER; }

// Runs the writer with ORVANE_TRACE set; its standard error goes to errors.
pid_t spawnWriter(const std::string& trace, const std::string& port, int rounds,
                  const std::string& errors) {
  std::vector<std::string> environment{"ORVANE_TRACE=" + trace};
  for (char** e = environ; *e; ++e)
    if (!std::string(*e).starts_with("ORVANE_TRACE=")) environment.push_back(*e);
  std::vector<char*> envp;
  for (auto& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string program = traceWriter(), portArg = port, count = std::to_string(rounds);
  char* argv[] = {program.data(), portArg.data(), count.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? pid : -1;
}

int exitStatus(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string contentOf(const fs::path& file) {
  std::ifstream in(file);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(LineTraceFile, TwoProgramsAppendingToOneFileNeverMixTheirLines) {
  test::TempDir dir;
  const std::string file = (dir.path() / "shared.trace").string();
  constexpr int kRounds = 400;  // four lines a round
  const pid_t first = spawnWriter(file, "COM1", kRounds, dir.path() / "first.err");
  const pid_t second = spawnWriter(file, "COM2", kRounds, dir.path() / "second.err");
  ASSERT_GT(first, 0);
  ASSERT_GT(second, 0);
  EXPECT_EQ(exitStatus(first), 0);
  EXPECT_EQ(exitStatus(second), 0);

  const auto trace = orvane::test::readTraceFile(file);
  EXPECT_TRUE(trace.malformed.empty())
      << trace.malformed.size() << " lines mixed, the first: " << trace.malformed.front();
  int perPort[2] = {0, 0};
  for (const auto& l : trace.lines) ++perPort[l.port.starts_with("COM2 ") ? 1 : 0];
  EXPECT_EQ(perPort[0], 4 * kRounds + 1) << "and the line set to 9600 bps";
  EXPECT_EQ(perPort[1], 4 * kRounds + 1);
  const std::string longFrame = "$99" + std::string(240, 'L') + "<CR>";
  int longFrames = 0;
  for (const auto& l : trace.lines) longFrames += l.mark == '>' && l.text == longFrame;
  EXPECT_EQ(longFrames, 2 * kRounds);
}

TEST(LineTraceFile, AFileThatCannotBeOpenedIsSaidOnceAndTheProgramGoesOn) {
  test::TempDir dir;
  const std::string missing = (dir.path() / "no" / "such" / "dir.trace").string();
  const fs::path errors = dir.path() / "writer.err";
  const pid_t writer = spawnWriter(missing, "COM1", 20, errors);
  ASSERT_GT(writer, 0);
  EXPECT_EQ(exitStatus(writer), 0) << "every exchange answered";
  EXPECT_EQ(contentOf(errors), "trace_writer: ORVANE_TRACE: " + missing +
                                   ": cannot open the trace file: No such file or directory; "
                                   "the program goes on without it\n");
  EXPECT_FALSE(fs::exists(missing));
}

}  // namespace
}  // namespace orvane::serial
