// trend_plot_bench: what one paint of the diagnostics' trend plot costs with
// eight traces polled ten times a second, the way MultiDiagForm drives it.
//
// Sixty simulated seconds (600 polls) fill the minute the plot shows; each
// poll adds one reading per trace (one in fifty a failed one) and paints once
// into an 800 x 300 image. A further 600 polls then scroll a full minute.
// Prints microseconds per paint for both phases: wall time, and the thread's
// CPU time, which other programs on a busy machine do not inflate.
#include <time.h>

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

#include "admin/diag/trend_plot.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kTraces = 8;
constexpr int kPollsPerSecond = 10;
constexpr int kPollsPerPhase = 60 * kPollsPerSecond;

struct Phase {
  double meanMicroseconds;
  double medianMicroseconds;
  double worstMicroseconds;
  double cpuMicroseconds;
};

double threadCpuMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

class Poller {
 public:
  explicit Poller(orvane::admin::TrendPlot& plot) : m_plot(plot) {}

  // One poll: a reading for every trace, then the paint it causes.
  // Wall microseconds of the paint; its CPU microseconds are added to cpu.
  double pollAndPaint(QImage& image, double& cpu) {
    double t = static_cast<double>(m_poll++) / kPollsPerSecond;
    for (int trace = 0; trace < kTraces; ++trace) {
      bool failed = m_failure(m_random) == 0;
      double value = 4 + trace + std::sin(t / (3 + trace)) + m_noise(m_random);
      m_plot.addSample(trace, t, failed ? std::numeric_limits<double>::quiet_NaN() : value);
    }
    double cpuStart = threadCpuMicroseconds();
    auto start = Clock::now();
    m_plot.render(&image);
    double wall = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    cpu += threadCpuMicroseconds() - cpuStart;
    return wall;
  }

 private:
  orvane::admin::TrendPlot& m_plot;
  int m_poll = 0;
  std::mt19937 m_random{7};
  std::normal_distribution<double> m_noise{0.0, 0.05};
  std::uniform_int_distribution<int> m_failure{0, 49};
};

Phase runPhase(Poller& poller, QImage& image) {
  std::vector<double> times;
  times.reserve(kPollsPerPhase);
  double cpu = 0;
  for (int i = 0; i < kPollsPerPhase; ++i) times.push_back(poller.pollAndPaint(image, cpu));
  double sum = 0;
  for (double time : times) sum += time;
  std::sort(times.begin(), times.end());
  auto paints = static_cast<double>(times.size());
  return {sum / paints, times[times.size() / 2], times.back(), cpu / paints};
}

void print(const char* name, const Phase& phase) {
  std::printf("%-24s wall %7.1f us/paint mean, %7.1f median, %8.1f worst; CPU %7.1f us/paint\n",
              name, phase.meanMicroseconds, phase.medianMicroseconds, phase.worstMicroseconds,
              phase.cpuMicroseconds);
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  orvane::admin::TrendPlot plot;
  plot.resize(800, 300);
  plot.setTraceCount(kTraces);
  plot.setUnit(QStringLiteral("V"));
  plot.setLimits(3.5, 12.5);
  QImage image(plot.size(), QImage::Format_ARGB32_Premultiplied);
  Poller poller(plot);
  std::printf("trend_plot_bench: %d traces, %d polls/s, %dx%d pixels\n", kTraces, kPollsPerSecond,
              plot.width(), plot.height());
  print("first minute (filling)", runPhase(poller, image));
  print("next minute (scrolling)", runPhase(poller, image));
  return 0;
}
