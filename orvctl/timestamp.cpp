#include "timestamp.h"

#include <cstdio>
#include <ctime>

namespace orvctl {

std::string isoLocalTime(std::chrono::system_clock::time_point when) {
  using namespace std::chrono;
  const auto sinceEpoch = when.time_since_epoch();
  const auto wholeSeconds = floor<seconds>(sinceEpoch);
  const long long ms = duration_cast<milliseconds>(sinceEpoch - wholeSeconds).count();
  const std::time_t t = static_cast<std::time_t>(wholeSeconds.count());
  std::tm local{};
  ::localtime_r(&t, &local);
  char date[32], offset[8];
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  std::strftime(offset, sizeof offset, "%z", &local);  // +0100
  char text[64];
  std::snprintf(text, sizeof text, "%s.%03lld%.3s:%.2s", date, ms, offset, offset + 3);
  return text;
}

}  // namespace orvctl
