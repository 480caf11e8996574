// diag_poll_bench: how fast the analog input test window polls, and what it
// costs while a module stays silent.
//
// 1. A 7231 with all 8 channels enabled, wire time emulated, at 9600 and at
//    115200 bps. Rounds per second with the ticks run back to back (what the
//    exchanges allow) and with the window's own timer (interval 100 ms, re-armed
//    for the interval less the tick but never under 20 ms), next to the wire
//    limit: one round's frames and replies at 10 bit times a character.
// 2. The same window polling a module that never answers, by its timer, for a
//    few seconds: the GUI thread's CPU time next to the wall time.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>

#include "admin/core/admin_context.h"
#include "admin/diag/ad_diag_form.h"
#include "sim/network.h"

namespace {

using orvane::admin::AdDiagForm;
using orvane::admin::AdminContext;
namespace sim = orvane::sim;

constexpr int kBackToBackRounds = 20;
constexpr int kTimedMs = 4000;

double threadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void runEventLoop(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

double wireMs(const std::vector<sim::FrameRecord>& frames) {
  double ms = 0;
  for (const auto& f : frames)
    ms += static_cast<double>(f.raw.size() + f.reply.size()) * 10.0 * 1000.0 / f.baudRate;
  return ms;
}

// One module on its own line and a context with COM1 pointed at it.
struct Line {
  explicit Line(int baudCode) {
    sim::ModuleState m = sim::makeModule("7231", 3);
    m.baudCode = baudCode;
    m.typeCode = 0x08;
    m.channelMask = 0xFF;
    sim::NetworkOptions options;
    options.wireTime = true;
    network = std::make_unique<sim::Network>(std::vector<sim::ModuleState>{m}, options);
    std::ofstream(dir.filePath(QStringLiteral("ports.conf")).toStdString())
        << "COM1=" << network->slavePath() << "\n";
    context = std::make_unique<AdminContext>(dir.path().toStdString());
    context->ComPort = 1;
    context->OrvComm.open(1);
    auto& e = context->ModuleList[0];
    e.Address = 3;
    e.ModelName = "7231";
    e.BaudCode = baudCode;
    e.TypeCode = 0x08;
    context->ModuleCount = 1;
    context->SelectedIndex = 0;
  }
  QTemporaryDir dir;
  std::unique_ptr<sim::Network> network;
  std::unique_ptr<AdminContext> context;
};

void pollingRates(const char* name, int baudCode) {
  Line line(baudCode);
  AdDiagForm form(*line.context);
  form.pollOnce();  // the line's rate is set (and settles) here
  line.network->clearFrames();
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < kBackToBackRounds; ++i) form.pollOnce();
  const double backToBack = kBackToBackRounds * 1000.0 / static_cast<double>(clock.elapsed());
  const double limit = kBackToBackRounds * 1000.0 / wireMs(line.network->frames());

  line.network->clearFrames();
  form.show();
  clock.restart();
  runEventLoop(kTimedMs);
  const double elapsed = static_cast<double>(clock.elapsed());
  form.done(0);
  const double timed = static_cast<double>(line.network->frames().size()) / 8.0 * 1000.0 / elapsed;
  std::printf(
      "%-7s wire limit %6.2f rounds/s; back to back %6.2f (%5.1f %%); by its timer %6.2f "
      "(%5.1f %%)\n",
      name, limit, backToBack, 100.0 * backToBack / limit, timed, 100.0 * timed / limit);
}

void silentModuleCpu() {
  Line line(3);
  AdDiagForm form(*line.context);
  line.network->setFault(3, sim::FaultSpec{.silent = true});
  form.show();
  QElapsedTimer clock;
  clock.start();
  const double cpuStart = threadCpuMs();
  runEventLoop(kTimedMs);
  const double cpu = threadCpuMs() - cpuStart;
  const double wall = static_cast<double>(clock.elapsed());
  form.done(0);
  std::printf("silent  GUI thread CPU %.1f ms in %.0f ms of polling: %.2f %%\n", cpu, wall,
              100.0 * cpu / wall);
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  std::printf("diag_poll_bench: AdDiagForm on a 7231, 8 channels, wire time on\n");
  pollingRates("9600", 3);
  pollingRates("115200", 6);
  silentModuleCpu();
  return 0;
}
