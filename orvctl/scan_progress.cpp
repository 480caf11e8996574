#include "scan_progress.h"

#include <ostream>

namespace orvctl {

namespace {

// Back to the start of the line and clear it.
constexpr const char* kRewind = "\r\033[K";

}  // namespace

std::string progressLine(long baudRate, int address, int from, int to, std::size_t found) {
  return "scan: " + std::to_string(baudRate) + " bps, address " + std::to_string(address) + " (" +
         std::to_string(from) + ".." + std::to_string(to) + "), " + std::to_string(found) +
         " found";
}

void ScanProgress::show(long baudRate, int address, int from, int to, std::size_t found) {
  if (!shown_) return;
  err_ << kRewind << progressLine(baudRate, address, from, to, found) << std::flush;
  onScreen_ = true;
}

void ScanProgress::clear() {
  if (!onScreen_) return;
  err_ << kRewind << std::flush;
  onScreen_ = false;
}

}  // namespace orvctl
