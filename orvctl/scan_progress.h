// The scan's progress on stderr, one line that is written over, for a user
// watching a terminal; nothing when stderr goes to a file or a pipe.
#pragma once

#include <iosfwd>
#include <string>

namespace orvctl {

// "scan: 19200 bps, address 37 (0..255), 3 found"
std::string progressLine(long baudRate, int address, int from, int to, std::size_t found);

class ScanProgress {
 public:
  ScanProgress(bool shown, std::ostream& err) : shown_(shown), err_(err) {}
  ~ScanProgress() { clear(); }
  ScanProgress(const ScanProgress&) = delete;
  ScanProgress& operator=(const ScanProgress&) = delete;

  void show(long baudRate, int address, int from, int to, std::size_t found);
  // Removes the line, so that what follows starts on a clean one.
  void clear();

 private:
  bool shown_;
  bool onScreen_ = false;
  std::ostream& err_;
};

}  // namespace orvctl
