// What the orvadmin benchmarks share: a context on a simulated line, driven
// the way the utility drove its line before the line worker (every exchange
// and every settle pause on the GUI thread) or the way it does now (the line
// worker on a thread of its own), the time frames spend on the wire, and a
// probe of how long the GUI thread keeps its events waiting.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

#include "admin/core/admin_context.h"
#include "admin/core/ui_services.h"
#include "admin/diag/monitor_columns.h"
#include "sim/network.h"

namespace orvane::bench {

using Clock = std::chrono::steady_clock;

enum class Drive { Inline, Threaded };

inline const char* driveName(Drive drive) {
  return drive == Drive::Inline ? "inline (old)" : "threaded (new)";
}

inline double msBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// The settle pause as the GUI thread took it before the line worker: asleep,
// serving nothing.
class SleepingUi : public admin::DesktopUi {
 public:
  void pause(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
};

// A context whose COM1 is the network's line, opened, driven as asked. The
// directory holds its ports.conf and must outlive it.
inline std::unique_ptr<admin::AdminContext> openContext(const QTemporaryDir& dir,
                                                        const sim::Network& network, Drive drive) {
  std::ofstream(dir.filePath(QStringLiteral("ports.conf")).toStdString())
      << "COM1=" << network.slavePath() << "\n";
  std::unique_ptr<admin::UiServices> ui;
  if (drive == Drive::Inline) ui = std::make_unique<SleepingUi>();
  auto context = std::make_unique<admin::AdminContext>(dir.path().toStdString(), std::move(ui));
  context->ComPort = 1;
  context->OrvComm.open(1);
  if (drive == Drive::Threaded) context->line().startThread();
  return context;
}

// The modules listed as a search finds them, the first one selected.
inline void listModules(admin::AdminContext& context,
                        const std::vector<sim::ModuleState>& modules) {
  for (std::size_t i = 0; i < modules.size(); ++i) {
    const auto& m = modules[i];
    auto& e = context.ModuleList[i];
    e.Address = m.address;
    e.ModelName = admin::modelNameField(m.model);
    e.BaudCode = m.baudCode;
    e.ChecksumFlag = m.checksum ? 1 : 0;
    e.TypeCode = m.typeCode;
    e.DataFormat = m.format & 3;
    if (m.initState) context.InitModuleIndex = static_cast<int>(i);
  }
  context.ModuleCount = static_cast<int>(modules.size());
  context.SelectedIndex = 0;
}

// The time the frames and their replies take on the wire, 10 bit times a
// character.
inline double wireMs(const std::vector<sim::FrameRecord>& frames) {
  double ms = 0;
  for (const auto& f : frames)
    ms += static_cast<double>(f.raw.size() + f.reply.size()) * 10.0 * 1000.0 / f.baudRate;
  return ms;
}

inline void runEventLoop(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// How long the GUI thread keeps its events waiting: a thread posts a
// timestamped event to the GUI thread every 2 ms, and an event filter there
// takes the delay of each. A GUI thread blocked on the line shows as one
// delay as long as the block.
class StallProbe : public QObject {
 public:
  struct Delays {
    std::size_t events = 0;
    double medianMs = 0;
    double maxMs = 0;
  };

  StallProbe() : type_(static_cast<QEvent::Type>(QEvent::registerEventType())) {
    target_.installEventFilter(this);
    poster_ = std::thread([this] { post(); });
  }
  ~StallProbe() override { stopPosting(); }
  StallProbe(const StallProbe&) = delete;
  StallProbe& operator=(const StallProbe&) = delete;

  // Stops posting and takes the events still queued (late ones count).
  Delays finish() {
    stopPosting();
    QCoreApplication::sendPostedEvents(&target_, type_);
    std::vector<double> ms = delays_;
    if (ms.empty()) return {};
    std::sort(ms.begin(), ms.end());
    return {ms.size(), ms[ms.size() / 2], ms.back()};
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &target_ || event->type() != type_) return false;
    delays_.push_back(msBetween(static_cast<const Stamp*>(event)->at, Clock::now()));
    return true;
  }

 private:
  struct Stamp : QEvent {
    Stamp(QEvent::Type type, Clock::time_point when) : QEvent(type), at(when) {}
    Clock::time_point at;
  };

  void post() {
    while (!stop_) {
      QCoreApplication::postEvent(&target_, new Stamp(type_, Clock::now()));
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  void stopPosting() {
    stop_ = true;
    if (poster_.joinable()) poster_.join();
  }

  QEvent::Type type_;
  QObject target_;
  std::vector<double> delays_;  // GUI thread only
  std::atomic<bool> stop_{false};
  std::thread poster_;
};

}  // namespace orvane::bench
