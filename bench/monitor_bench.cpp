// monitor_bench: how long one pass of the monitor takes over the demo network
// (every model once, at 9600, 19200 and 115200 bps, one with checksum), with
// the line's wire time emulated, next to the pass's interval of 500 ms per
// listed module.
//
// A pass changes the line's rate four times (to 19200 and back, to 115200
// and back), and every change settles for a second before the next frame.
// The passes are timed once with that pause, as a user's monitor runs, and
// once without it: what the exchanges themselves cost. Beside them, the time
// the frames of one pass spend on the wire (10 bit times a character).
#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "admin/diag/monitor_form.h"
#include "bench/admin_bench.h"

namespace {

using orvane::bench::Clock;
constexpr int kPasses = 3;

struct Passes {
  double meanMs, bestMs, worstMs;
  std::size_t frames;
  double wireMs;
};

Passes timePasses(orvane::admin::MonitorForm& form, orvane::sim::Network& network) {
  form.pollOnce();  // the line's first rate is set here
  std::vector<double> ms;
  for (int i = 0; i < kPasses; ++i) {
    network.clearFrames();
    const auto start = Clock::now();
    form.pollOnce();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  double sum = 0;
  for (double m : ms) sum += m;
  const auto frames = network.frames();
  return {sum / kPasses, *std::min_element(ms.begin(), ms.end()),
          *std::max_element(ms.begin(), ms.end()), frames.size(), orvane::bench::wireMs(frames)};
}

void print(const char* name, const Passes& p, int intervalMs) {
  std::printf(
      "%-22s pass %7.1f ms mean, %7.1f best, %7.1f worst; %zu frames, %6.1f ms on the wire; "
      "%5.1f %% of the interval\n",
      name, p.meanMs, p.bestMs, p.worstMs, p.frames, p.wireMs, 100.0 * p.meanMs / intervalMs);
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  const auto modules = orvane::sim::demoNetwork();
  orvane::sim::NetworkOptions options;
  options.wireTime = true;
  orvane::sim::Network network(modules, options);
  QTemporaryDir dir;
  auto owned = orvane::bench::openContext(dir, network, orvane::bench::Drive::Inline);
  auto& context = *owned;
  orvane::bench::listModules(context, modules);
  orvane::admin::MonitorForm form(context);
  const int interval = orvane::admin::monitorInterval(context.ModuleCount);
  std::printf("monitor_bench: demo network, %d modules, wire time on, interval %d ms, %d passes\n",
              context.ModuleCount, interval, kPasses);
  print("settle pause 1000 ms", timePasses(form, network), interval);
  context.baudSettlePause = std::chrono::milliseconds(0);
  print("settle pause 0 ms", timePasses(form, network), interval);
  return 0;
}
