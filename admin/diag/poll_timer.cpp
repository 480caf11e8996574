#include "admin/diag/poll_timer.h"

#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>

namespace orvane::admin {

namespace {

constexpr int kShortestRearm = 20;  // ms: time for the user's events between ticks

}  // namespace

PollTimer::PollTimer(QWidget& window, std::function<void()> tick)
    : QObject(&window), window_(window), tick_(std::move(tick)), timer_(new QTimer(this)) {
  timer_->setObjectName(QStringLiteral("Timer1"));
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, &PollTimer::onTimer1Timeout);
}

void PollTimer::setInterval(int intervalMs, bool firstAtOnce) {
  intervalMs_ = intervalMs;
  firstAtOnce_ = firstAtOnce;
}

void PollTimer::start() {
  if (intervalMs_ > 0 && !timer_->isActive()) timer_->start(firstAtOnce_ ? 0 : intervalMs_);
}

void PollTimer::stop() { timer_->stop(); }

bool PollTimer::active() const { return timer_->isActive(); }

void PollTimer::onTimer1Timeout() {
  const auto started = std::chrono::steady_clock::now();
  tick_();
  if (!window_.isVisible()) return;
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - started)
                        .count();
  timer_->start(std::max<int>(kShortestRearm, intervalMs_ - static_cast<int>(took)));
}

}  // namespace orvane::admin
