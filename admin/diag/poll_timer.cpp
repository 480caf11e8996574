#include "admin/diag/poll_timer.h"

#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "admin/core/line_worker.h"

namespace orvane::admin {

namespace {

// ms left for the user's events between ticks that hold the GUI thread.
constexpr int kShortestRearmInline = 20;

}  // namespace

PollTimer::PollTimer(QWidget& window, LineWorker& line, std::function<LinkTask<void>()> tick)
    : QObject(&window),
      window_(window),
      line_(line),
      tick_(std::move(tick)),
      timer_(new QTimer(this)) {
  timer_->setObjectName(QStringLiteral("Timer1"));
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, &PollTimer::onTimer1Timeout);
}

void PollTimer::setInterval(int intervalMs, bool firstAtOnce) {
  intervalMs_ = intervalMs;
  firstAtOnce_ = firstAtOnce;
}

void PollTimer::start() {
  if (intervalMs_ > 0 && !active()) timer_->start(firstAtOnce_ ? 0 : intervalMs_);
}

void PollTimer::stop() {
  timer_->stop();
  running_.reset();
}

bool PollTimer::active() const { return timer_->isActive() || !running_.done(); }

void PollTimer::onTimer1Timeout() {
  tickStarted_ = std::chrono::steady_clock::now();
  // The tick before is over: its finished sequence goes now.
  running_ = tick_();
  running_.start([this] { onTickDone(); });
}

void PollTimer::onTickDone() {
  if (!window_.isVisible()) return;
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - tickStarted_)
                        .count();
  const int shortest = line_.threaded() ? 0 : kShortestRearmInline;
  timer_->start(std::max<int>(shortest, intervalMs_ - static_cast<int>(took)));
}

}  // namespace orvane::admin
