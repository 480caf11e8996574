// The TCP connection of a network line.
#pragma once

#include <string>

#include "serial/line_name.h"

namespace orvane::serial {

// A non-blocking socket connected to the line's server within the line's
// time-out, with Nagle off (every frame leaves at once) and keep-alive
// probes, so that a server that went away silently is noticed while the line
// is idle. The name lookup of a host name is the system resolver's and not
// bounded by the time-out. Throws SerialError "cannot connect to HOST:PORT:
// cause".
int connectTcp(const NetworkLineName& name);

// The cause of a failed connect, send or receive as a message says it
// ("connection refused").
std::string networkErrorText(int error);

}  // namespace orvane::serial
