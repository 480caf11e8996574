// diag_poll_bench: how fast the analog input test window polls, and what it
// costs while a module stays silent, with the line driven the old way (every
// exchange on the GUI thread, the timer re-armed no sooner than 20 ms after a
// tick) and by the line worker on its own thread, in the same run.
//
// 1. A 7231 with all 8 channels enabled, wire time emulated, at 9600 and at
//    115200 bps. Rounds per second with the ticks run back to back (what the
//    exchanges allow) and with the window's own timer (interval 100 ms, the
//    next tick at once when one took longer; taken from the second second on),
//    next to the wire limit: one round's frames and replies at 10 bit times a
//    character. Beside them the window's frames replayed by hand on the line,
//    without the utility: the ceiling the simulator's pacing leaves.
// 2. The same window polling a module that never answers, by its timer, for a
//    few seconds: the CPU time of the whole process (the simulator's thread
//    included) and of the GUI thread, next to the wall time.
// 3. The window polling the 8 channels by its timer at 115200 bps with the
//    line worker on its thread, without and with the Line Monitor open (and
//    closed again): CPU time of the process and of the GUI thread per round,
//    so that the monitor's share of the window's cost shows.
#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "admin/core/line_monitor_form.h"
#include "admin/core/trace_feed.h"
#include "admin/core/trace_view.h"
#include "admin/diag/ad_diag_form.h"
#include "bench/admin_bench.h"

namespace {

using orvane::admin::AdDiagForm;
using orvane::admin::AdminContext;
using orvane::bench::Drive;
namespace bench = orvane::bench;
namespace sim = orvane::sim;

constexpr int kBackToBackRounds = 20;
constexpr int kWarmUpMs = 1000;
constexpr int kTimedMs = 5000;
constexpr int kAddress = 3;
constexpr std::size_t kChannels = 8;

double cpuMs(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// One module on its own line and a context with COM1 pointed at it.
struct Line {
  Line(int baudCode, Drive drive) {
    sim::ModuleState m = sim::makeModule("7231", kAddress);
    m.baudCode = baudCode;
    m.typeCode = 0x08;
    m.channelMask = 0xFF;
    sim::NetworkOptions options;
    options.wireTime = true;
    network = std::make_unique<sim::Network>(std::vector<sim::ModuleState>{m}, options);
    context = bench::openContext(dir, *network, drive);
    bench::listModules(*context, {m});
  }
  QTemporaryDir dir;
  std::unique_ptr<sim::Network> network;
  std::unique_ptr<AdminContext> context;
};

// Rounds per second from the first frame of one round (the frame `opening`
// rounds) to the first frame of the last, so that the edges of the time taken
// count for nothing.
double roundsPerSecond(std::vector<sim::FrameRecord> frames, const std::string& opening) {
  const auto first = std::find_if(frames.begin(), frames.end(),
                                  [&](const sim::FrameRecord& f) { return f.raw == opening; });
  frames.erase(frames.begin(), first);
  const std::size_t rounds = frames.size() / kChannels;
  if (rounds < 2) return 0;
  const auto last = frames[(rounds - 1) * kChannels].at;
  return static_cast<double>(rounds - 1) / bench::msBetween(frames.front().at, last) * 1000.0;
}

void pollingRates(const char* name, int baudCode, Drive drive) {
  Line line(baudCode, drive);
  AdDiagForm form(*line.context);
  form.pollOnce();  // the line's rate is set (and settles) here
  line.network->clearFrames();
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < kBackToBackRounds; ++i) form.pollOnce();
  const double backToBack = kBackToBackRounds * 1000.0 / static_cast<double>(clock.elapsed());
  const double limit = kBackToBackRounds * 1000.0 / bench::wireMs(line.network->frames());
  const std::string opening = line.network->frames().front().raw;

  // The first tick comes one interval after the window is shown: the rate is
  // taken once the timer runs.
  form.show();
  bench::runEventLoop(kWarmUpMs);
  line.network->clearFrames();
  bench::runEventLoop(kTimedMs);
  form.done(0);
  const double timed = roundsPerSecond(line.network->frames(), opening);
  std::printf(
      "%-7s %-15s wire limit %6.2f rounds/s; back to back %6.2f (%5.1f %%); by its timer "
      "%6.2f (%5.1f %%)\n",
      name, bench::driveName(drive), limit, backToBack, 100.0 * backToBack / limit, timed,
      100.0 * timed / limit);
}

// The frames of one tick of the window replayed back to back on the line by
// hand, without the utility: what the simulator's pacing on this machine
// leaves of the wire limit, the ceiling of every figure above.
void lineAlone(const char* name, int baudCode) {
  Line line(baudCode, Drive::Inline);
  AdDiagForm form(*line.context);
  line.network->clearFrames();
  form.pollOnce();
  const auto tick = line.network->frames();
  line.network->clearFrames();
  auto& port = line.context->OrvComm.port(1);
  const std::chrono::milliseconds timeout(line.context->ReplyTimeout);
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < kBackToBackRounds; ++i)
    for (const auto& frame : tick) {
      port.purgeInput();
      port.write(frame.raw, timeout);
      while (port.readByte(timeout).value_or('\r') != '\r') {
      }
    }
  const double rate = kBackToBackRounds * 1000.0 / static_cast<double>(clock.elapsed());
  const double limit = kBackToBackRounds * 1000.0 / bench::wireMs(line.network->frames());
  std::printf("%-7s %-15s wire limit %6.2f rounds/s; back to back %6.2f (%5.1f %%)\n", name,
              "line alone", limit, rate, 100.0 * rate / limit);
}

void silentModuleCpu(Drive drive) {
  Line line(3, drive);
  AdDiagForm form(*line.context);
  line.network->setFault(kAddress, sim::FaultSpec{.silent = true});
  form.show();
  QElapsedTimer clock;
  clock.start();
  const double processStart = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
  const double guiStart = cpuMs(CLOCK_THREAD_CPUTIME_ID);
  bench::runEventLoop(kTimedMs);
  const double process = cpuMs(CLOCK_PROCESS_CPUTIME_ID) - processStart;
  const double gui = cpuMs(CLOCK_THREAD_CPUTIME_ID) - guiStart;
  const double wall = static_cast<double>(clock.elapsed());
  const auto frames = line.network->frames().size();
  form.done(0);
  std::printf(
      "silent  %-15s %zu frames in %.0f ms; process CPU %.1f ms (%.2f %%), GUI thread %.1f ms "
      "(%.2f %%)\n",
      bench::driveName(drive), frames, wall, process, 100.0 * process / wall, gui,
      100.0 * gui / wall);
}

struct RoundCost {
  double processMs = 0;
  double guiMs = 0;
  std::size_t rounds = 0;
};

RoundCost pollFor(Line& line, int ms) {
  line.network->clearFrames();
  const double processStart = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
  const double guiStart = cpuMs(CLOCK_THREAD_CPUTIME_ID);
  bench::runEventLoop(ms);
  return {cpuMs(CLOCK_PROCESS_CPUTIME_ID) - processStart, cpuMs(CLOCK_THREAD_CPUTIME_ID) - guiStart,
          line.network->frames().size() / kChannels};
}

void lineMonitorCost() {
  constexpr int kPairs = 6;
  constexpr int kPhaseMs = 3000;
  Line line(6, Drive::Threaded);
  AdDiagForm form(*line.context);
  form.show();
  bench::runEventLoop(kWarmUpMs);
  RoundCost closed, open;
  std::vector<double> shares;
  // Alternated, and in turn first and second, so that neither a busy moment
  // of the machine nor the trend filling up over its first minute (more to
  // draw each round) falls on one side only.
  for (int i = 0; i < kPairs; ++i) {
    RoundCost without, with;
    std::size_t lines = 0;
    const auto monitored = [&] {
      auto* monitor = new orvane::admin::LineMonitorForm(*line.context);
      monitor->show();
      with = pollFor(line, kPhaseMs);
      lines = monitor->log().size();
      monitor->close();
    };
    if (i % 2 == 1) monitored();
    without = pollFor(line, kPhaseMs);
    if (i % 2 == 0) monitored();
    for (auto [sum, part] : {std::pair{&closed, without}, std::pair{&open, with}}) {
      sum->processMs += part.processMs;
      sum->guiMs += part.guiMs;
      sum->rounds += part.rounds;
    }
    const auto perRound = [](const RoundCost& c) {
      return c.processMs / static_cast<double>(std::max<std::size_t>(c.rounds, 1));
    };
    shares.push_back(100.0 * (perRound(with) - perRound(without)) / perRound(without));
    if (i == 0) std::printf("monitor %zu lines in %d ms\n", lines, kPhaseMs);
  }
  form.done(0);
  for (auto [name, cost] : {std::pair{"closed", closed}, std::pair{"open", open}})
    std::printf("monitor %-6s %zu rounds; per round process CPU %.3f ms, GUI thread %.3f ms\n",
                name, cost.rounds, cost.processMs / static_cast<double>(cost.rounds),
                cost.guiMs / static_cast<double>(cost.rounds));
  // The monitor's own work, timed alone: one redraw of its view after a
  // round's lines came in, at its redraws per second.
  QWidget window;
  window.resize(780, 420);
  orvane::admin::TraceView view(orvane::admin::LineMonitorLog::kCapacity, &window);
  view.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  view.resize(760, 360);
  window.show();
  bench::runEventLoop(100);
  const std::vector<std::string> round(
      24, "2026-12-10 07:01:41.031746 COM1 /dev/pts/0 < !03+01.234<CR>  0.412 ms");
  QElapsedTimer clock;
  clock.start();
  constexpr int kRedraws = 200;
  for (int i = 0; i < kRedraws; ++i) {
    view.append(round);
    view.viewport()->repaint();
  }
  const double redrawMs = static_cast<double>(clock.nsecsElapsed()) / 1e6 / kRedraws;
  const double perSecond =
      1000.0 / static_cast<double>(orvane::admin::TraceFeed::kBatchInterval.count());
  const double windowMsPerSecond =
      closed.processMs / static_cast<double>(closed.rounds) * 10.0;  // 10 rounds a second
  std::printf(
      "monitor view redraw %.3f ms, %.0f a second: %.1f ms/s, %.1f %% of the window's %.0f ms/s\n",
      redrawMs, perSecond, redrawMs * perSecond, 100.0 * redrawMs * perSecond / windowMsPerSecond,
      windowMsPerSecond);
  std::sort(shares.begin(), shares.end());
  std::printf(
      "monitor open costs %+.1f %% of the window's process CPU per round (median of %d pairs; "
      "%+.1f .. %+.1f)\n",
      (shares[kPairs / 2 - 1] + shares[kPairs / 2]) / 2, kPairs, shares.front(), shares.back());
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  std::printf("diag_poll_bench: AdDiagForm on a 7231, 8 channels, wire time on\n");
  for (const Drive drive : {Drive::Inline, Drive::Threaded}) pollingRates("9600", 3, drive);
  lineAlone("9600", 3);
  for (const Drive drive : {Drive::Inline, Drive::Threaded}) pollingRates("115200", 6, drive);
  lineAlone("115200", 6);
  for (const Drive drive : {Drive::Inline, Drive::Threaded}) silentModuleCpu(drive);
  lineMonitorCost();
  return 0;
}
