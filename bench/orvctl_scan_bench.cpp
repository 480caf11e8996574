// orvctl_scan_bench: the whole bus, addresses 0 to 255 at 9600, 19200 and
// 115200 bps, searched by "orvctl scan" against the demo network with the
// wire time of every character, next to orvadmin's search over the same
// range and rates.
//
// orvctl runs the rates outside and the addresses inside: one settle per
// rate, two reply time-outs per empty address and rate. orvadmin's search
// keeps its order, every rate inside every address, so each try changes the
// rate and settles for a second; running it whole would take a quarter of an
// hour, so it is timed over the demo's addresses 0 to 23 and over three
// addresses of an empty line, and the rest of the range is counted from the
// empty line's time per address.
//
//   orvctl_scan_bench [ORVCTL OPTIONS...]   e.g. "-t 50"
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "admin/core/admin_context.h"
#include "admin/core/network_scan.h"
#include "sim/network.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kLastAddress = 255;
constexpr int kDemoSpan = 23;  // the demo's modules and a few empty addresses
constexpr int kEmptySpan = 2;  // addresses 0 to 2 of a line without modules

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double wireSeconds(const std::vector<orvane::sim::FrameRecord>& frames) {
  double s = 0;
  for (const auto& f : frames)
    s += static_cast<double>(f.raw.size() + f.reply.size()) * 10.0 / f.baudRate;
  return s;
}

// Runs orvctl and returns its standard output.
std::string runOrvctl(std::vector<std::string> args) {
  int out[2];
  if (::pipe(out) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  args.insert(args.begin(), ORVCTL_PATH);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, ORVCTL_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t n; !failed && (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<std::size_t>(n));
  ::close(out[0]);
  if (!failed) ::waitpid(pid, nullptr, 0);
  return text;
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

void benchOrvctl(const std::vector<std::string>& extra) {
  orvane::sim::NetworkOptions options;
  options.wireTime = true;
  orvane::sim::Network network(orvane::sim::demoNetwork(), options);
  std::vector<std::string> args = {"-p", network.slavePath(), "--json"};
  args.insert(args.end(), extra.begin(), extra.end());
  args.insert(args.end(), {"scan", "--baud", "9600,19200,115200"});
  std::string shown;
  for (const auto& a : extra) shown += a + " ";
  const auto start = Clock::now();
  const std::string json = runOrvctl(args);
  const double took = secondsSince(start);
  const auto frames = network.frames();
  std::printf(
      "orvctl %sscan 0..255 at 3 rates: %.1f s (%.1f min), %zu modules, %zu frames, "
      "%.2f s on the wire\n",
      shown.c_str(), took, took / 60, count(json, "\"address\":"), frames.size(),
      wireSeconds(frames));
}

// The utility's search from address 0 to the last one; seconds and modules.
std::pair<double, int> timeSearch(std::vector<orvane::sim::ModuleState> modules, int last) {
  orvane::sim::NetworkOptions options;
  options.wireTime = true;
  orvane::sim::Network network(std::move(modules), options);
  QTemporaryDir dir;
  std::ofstream(dir.filePath(QStringLiteral("ports.conf")).toStdString())
      << "COM1=" << network.slavePath() << "\n";
  orvane::admin::AdminContext context(dir.path().toStdString());
  context.ComPort = 1;
  auto& flags = context.portSetting(1).SearchFlags;
  flags = {};
  flags[3] = flags[4] = flags[6] = 1;  // 9600, 19200, 115200
  context.OrvComm.open(1);
  context.SearchHiAddress = last;
  const orvane::admin::ScanHooks hooks{[](int) {}, [](int) {}, [](int) {}, [] {},
                                       [] { return false; }};
  const auto start = Clock::now();
  const auto outcome = orvane::admin::runNetworkScan(context, hooks);
  return {secondsSince(start), outcome.modulesFound};
}

void benchUtility() {
  const auto [demoSeconds, found] = timeSearch(orvane::sim::demoNetwork(), kDemoSpan);
  const auto [emptySeconds, none] = timeSearch({}, kEmptySpan);
  const double perEmpty = emptySeconds / (kEmptySpan + 1);
  const double total = demoSeconds + perEmpty * (kLastAddress - kDemoSpan);
  std::printf("orvadmin search 0..%d of the demo: %.1f s, %d modules\n", kDemoSpan, demoSeconds,
              found);
  std::printf("orvadmin search of an empty line: %.2f s per address (%d found)\n", perEmpty, none);
  std::printf("orvadmin search 0..255 at 3 rates: %.0f s (%.1f min), counted from the two\n", total,
              total / 60);
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  std::printf("orvctl_scan_bench: demo network, wire time on, default settle 1 s per rate\n");
  std::fflush(stdout);
  benchOrvctl(std::vector<std::string>(argv + 1, argv + argc));
  std::fflush(stdout);
  benchUtility();
  return 0;
}
