#include "stop_signals.h"

#include <cerrno>
#include <ctime>

namespace orvctl {

StopSignals::StopSignals() {
  sigemptyset(&stopSet_);
  // A signal the caller ignores stays ignored: a background job started by a
  // script does not end on the Ctrl+C meant for the foreground.
  for (int stop : {SIGINT, SIGTERM}) {
    struct sigaction action {};
    if (sigaction(stop, nullptr, &action) == 0 && action.sa_handler == SIG_IGN) continue;
    sigaddset(&stopSet_, stop);
  }
  sigprocmask(SIG_BLOCK, &stopSet_, &previous_);
}

// A signal still held back is taken first, so it cannot strike once the
// command has ended cleanly.
StopSignals::~StopSignals() {
  stopped();
  sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

bool StopSignals::stopped() { return waitFor(std::chrono::milliseconds(0)); }

bool StopSignals::waitFor(std::chrono::milliseconds time) {
  if (signal_) return true;
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + time;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(end - Clock::now());
    const long long ns = left.count() > 0 ? left.count() : 0;
    const timespec wait{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    const int taken = sigtimedwait(&stopSet_, nullptr, &wait);
    if (taken > 0) {
      signal_ = taken;
      return true;
    }
    if (errno != EINTR || ns == 0) return false;
  }
}

}  // namespace orvctl
