// Waiting for a descriptor with poll() up to a deadline: interrupted waits go
// on with the time that is left.
#pragma once

#include "serial/config_dir.h"

namespace orvane::serial {

// The revents of the descriptor, 0 when the deadline passed first, -1 with
// errno set when poll() failed.
int pollUntil(int fd, short events, Clock::time_point deadline);

}  // namespace orvane::serial
