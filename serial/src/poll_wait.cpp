#include "poll_wait.h"

#include <poll.h>

#include <cerrno>

namespace orvane::serial {

int pollUntil(int fd, short events, Clock::time_point deadline) {
  pollfd p{fd, events, 0};
  for (;;) {
    // Rounded up, so that a wait never ends a fraction of a millisecond early
    // and spins through the rest.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    const int wait = left.count() > 0 ? static_cast<int>(left.count()) : 0;
    const int n = ::poll(&p, 1, wait);
    if (n >= 0) return n == 0 ? 0 : p.revents;
    if (errno != EINTR) return -1;
  }
}

}  // namespace orvane::serial
