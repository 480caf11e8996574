// The library-wide state: the port slots, the data-pass tables and the
// address-00 exemption, behind one mutex that every export holds for its
// whole call. The state is never destroyed: a thread that calls the library
// while the process exits still finds the mutex and the tables.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "serial/line.h"

namespace orvane::driver {

inline constexpr std::size_t kPortCount = 24;
inline constexpr std::size_t kAddressCount = 256;
// Room for the failure text of a port, terminating zero included.
inline constexpr std::size_t kFailureTextSize = 512;

struct PortSlot {
  std::unique_ptr<serial::Line> line;
  std::int16_t timeoutMs = 100;
  bool checksum = false;
  std::string deviceOverride;  // set by OV_SetPortName; empty: ports.conf decides
  // What the last call on this port found wrong, empty after a call that
  // succeeded (OV_GetErrorText). A fixed buffer, so that no text outlives
  // the library on the heap.
  std::array<char, kFailureTextSize> failure{};
  // The text is a note of a call that succeeded: kept, not cleared.
  bool noteKept = false;
  // A line at a fixed speed runs at the rate it was first opened with, taken
  // as its device server's: the line's name and that rate, kept across
  // OV_ReleaseComm.
  std::string fixedSpeedLine;
  int fixedSpeedRate = 0;
};

class Library {
 public:
  static Library& instance();

  Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // Releases every port still open and refuses further opens: the library is
  // being unloaded or the process exits.
  void shutDown();

  std::mutex mutex;
  std::array<PortSlot, kPortCount> slots;
  std::array<std::array<char, kAddressCount>, kPortCount> delimiters;
  std::array<std::array<std::uint16_t, kAddressCount>, kPortCount> dataPassLengths;
  bool addressZeroExemption = false;
  bool shutDownDone = false;
};

// Drops DTR, discards pending input and output and closes the line. False
// when the slot has no open line.
bool releaseLine(PortSlot& slot);

}  // namespace orvane::driver
