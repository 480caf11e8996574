// gui_stall_bench: how long the GUI thread of orvadmin keeps its events
// waiting while the line works, and how soon the search obeys Stop, with the
// line driven the old way (every exchange and settle pause on the GUI thread)
// and by the line worker on its own thread, in the same run.
//
// 1. The GUI thread's stalls (StallProbe: the delay of events a thread posts
//    to it every 2 ms), median and longest, while
//    - the analog input test window polls a 7231 with 8 channels that went
//      silent, at the default reply time-out;
//    - the monitor polls the demo network;
//    - the search runs over the demo network at 9600, 19200 and 115200 bps.
//    Wire time on, the real settle pause of 1000 ms after each baud change.
// 2. Stop to the end of the search: the search runs over the demo network;
//    when the line goes to 19200 bps (the settle pause begins) a thread
//    presses Stop after a delay, by a click queued to the GUI thread as a
//    user's would be, and the time to the end of the search is taken. The
//    first change to 19200 is at address 5, whose module answers there; the
//    second at address 15, whose module answers only at 115200: 1050 ms after
//    that change, when the pause is over, Stop lands while the search waits
//    for a reply at 19200 that does not come.
#include <termios.h>

#include <QApplication>
#include <QMetaObject>
#include <QPushButton>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "admin/core/scan_form.h"
#include "admin/diag/ad_diag_form.h"
#include "admin/diag/monitor_form.h"
#include "bench/admin_bench.h"

namespace {

using orvane::admin::AdminContext;
using orvane::bench::Clock;
using orvane::bench::Drive;
using orvane::bench::StallProbe;
namespace admin = orvane::admin;
namespace bench = orvane::bench;
namespace sim = orvane::sim;

constexpr int kMeasureMs = 6000;
constexpr int kSilentAddress = 3;

// A simulated network, wire time on, and a context on its line.
struct Bench {
  Bench(std::vector<sim::ModuleState> modules, Drive drive) {
    sim::NetworkOptions options;
    options.wireTime = true;
    network = std::make_unique<sim::Network>(std::move(modules), options);
    context = bench::openContext(dir, *network, drive);
  }
  QTemporaryDir dir;
  std::unique_ptr<sim::Network> network;
  std::unique_ptr<AdminContext> context;
};

std::vector<sim::ModuleState> eightChannels() {
  sim::ModuleState m = sim::makeModule("7231", kSilentAddress);
  m.typeCode = 0x08;
  m.channelMask = 0xFF;
  return {m};
}

// The search over the demo network at the rates its modules use.
void prepareSearch(AdminContext& context) {
  auto& flags = context.portSetting(1).SearchFlags;
  for (const int code : {3, 4, 6}) flags[static_cast<std::size_t>(code)] = 1;
  context.SearchHiAddress = 20;
}

void printStall(const char* scenario, Drive drive, const StallProbe::Delays& d) {
  std::printf("%-34s %-15s %5zu events; median %7.1f ms, longest %7.1f ms\n", scenario,
              bench::driveName(drive), d.events, d.medianMs, d.maxMs);
}

// The stalls while a polling window runs for a while.
StallProbe::Delays stallsWhilePolling(QDialog& form) {
  StallProbe probe;
  form.show();
  bench::runEventLoop(kMeasureMs);
  const auto delays = probe.finish();
  form.done(0);
  return delays;
}

void silentDiagStall(Drive drive) {
  Bench b(eightChannels(), drive);
  bench::listModules(*b.context, eightChannels());
  admin::AdDiagForm form(*b.context);
  b.network->setFault(kSilentAddress, sim::FaultSpec{.silent = true});
  printStall("diagnostics, silent 7231, 8 ch", drive, stallsWhilePolling(form));
}

void monitorStall(Drive drive) {
  Bench b(sim::demoNetwork(), drive);
  bench::listModules(*b.context, sim::demoNetwork());
  admin::MonitorForm form(*b.context);
  printStall("monitor, demo network", drive, stallsWhilePolling(form));
}

// Runs the search dialog until it ends, and tells when.
Clock::time_point runSearch(admin::ScanForm& scan) {
  Clock::time_point ended;
  QEventLoop loop;
  QObject::connect(&scan, &QDialog::finished, &loop, [&] {
    ended = Clock::now();
    loop.quit();
  });
  scan.show();
  loop.exec();
  return ended;
}

QPushButton& stopButton(admin::ScanForm& scan) {
  return *scan.findChild<QPushButton*>(QStringLiteral("StopBtn"));
}

void searchStall(Drive drive) {
  Bench b(sim::demoNetwork(), drive);
  prepareSearch(*b.context);
  admin::ScanForm scan(*b.context);
  StallProbe probe;
  // Fires in the search's own event processing while it holds the thread.
  QTimer::singleShot(kMeasureMs, &stopButton(scan), &QPushButton::click);
  runSearch(scan);
  printStall("search, demo network", drive, probe.finish());
}

// The product's own descriptor of the line, whose settings a thread may read.
int lineDescriptor(const std::string& slave) {
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    if (std::filesystem::read_symlink(fd.path(), error) == slave)
      return std::stoi(fd.path().filename().string());
  }
  return -1;
}

// When the line's speed becomes `rate` for the nth time (a settle pause
// begins).
struct Moment {
  speed_t rate;
  int nth;
  std::chrono::milliseconds after;
};

// From a thread of its own: at the moment, presses Stop by a click queued to
// the GUI thread, as a user's click would be.
class StopPress {
 public:
  StopPress(int fd, Moment moment, QPushButton& stop)
      : thread_([=, this, &stop] { run(fd, moment, stop); }) {}
  ~StopPress() { finish(); }
  StopPress(const StopPress&) = delete;
  StopPress& operator=(const StopPress&) = delete;
  // When Stop was pressed, if the moment came before the search ended; the
  // search must have ended.
  std::optional<Clock::time_point> pressedAt() {
    finish();
    return pressed_;
  }

 private:
  void run(int fd, Moment moment, QPushButton& stop) {
    speed_t last = 0;
    for (int seen = 0; !ended_; std::this_thread::sleep_for(std::chrono::milliseconds(1))) {
      termios t{};
      if (tcgetattr(fd, &t) != 0) continue;
      const speed_t now = cfgetospeed(&t);
      if (now == moment.rate && last != moment.rate) ++seen;
      last = now;
      if (seen < moment.nth) continue;
      std::this_thread::sleep_for(moment.after);
      pressed_ = Clock::now();
      QMetaObject::invokeMethod(
          &stop, [&stop] { stop.click(); }, Qt::QueuedConnection);
      return;
    }
  }
  void finish() {
    ended_ = true;
    if (thread_.joinable()) thread_.join();
  }

  std::atomic<bool> ended_{false};
  std::optional<Clock::time_point> pressed_;
  std::thread thread_;
};

void searchStop(Drive drive, Moment moment) {
  Bench b(sim::demoNetwork(), drive);
  prepareSearch(*b.context);
  admin::ScanForm scan(*b.context);
  StopPress press(lineDescriptor(b.network->slavePath()), moment, stopButton(scan));
  const auto ended = runSearch(scan);
  std::printf("Stop %4lld ms after change %d to 19200   %-15s ",
              static_cast<long long>(moment.after.count()), moment.nth, bench::driveName(drive));
  if (const auto pressed = press.pressedAt())
    std::printf("end of the search %7.1f ms later\n", bench::msBetween(*pressed, ended));
  else
    std::printf("the search ended before\n");
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  std::printf("gui_stall_bench: wire time on, settle pause 1000 ms, reply time-out 100 ms\n");
  for (const Drive drive : {Drive::Inline, Drive::Threaded}) silentDiagStall(drive);
  for (const Drive drive : {Drive::Inline, Drive::Threaded}) monitorStall(drive);
  for (const Drive drive : {Drive::Inline, Drive::Threaded}) searchStall(drive);
  using std::chrono::milliseconds;
  for (const Moment moment :
       {Moment{B19200, 1, milliseconds(100)}, Moment{B19200, 1, milliseconds(500)},
        Moment{B19200, 1, milliseconds(900)}, Moment{B19200, 2, milliseconds(1050)}})
    for (const Drive drive : {Drive::Inline, Drive::Threaded}) searchStop(drive, moment);
  return 0;
}
