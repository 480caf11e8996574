// The time of a reading as ISO 8601 in local time, to the millisecond, with
// the offset from UTC: 2026-12-09T14:03:27.512+01:00.
#pragma once

#include <chrono>
#include <string>

namespace orvctl {

std::string isoLocalTime(std::chrono::system_clock::time_point when);

}  // namespace orvctl
