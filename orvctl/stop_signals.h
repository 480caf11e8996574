// Ctrl+C (SIGINT) and SIGTERM for the commands that run long (scan, watch):
// while one is alive both signals are held back, so that no library call is
// cut short, and the command takes them between its calls and in its
// pauses, then ends cleanly and releases the port.
#pragma once

#include <signal.h>

#include <chrono>

namespace orvctl {

class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // True once a stop signal has come (taken without waiting).
  bool stopped();
  // Waits for the time or a stop signal; true when a signal ended the wait.
  bool waitFor(std::chrono::milliseconds time);
  // The signal that came, 0 before one did.
  int signal() const { return signal_; }

 private:
  sigset_t stopSet_{};
  sigset_t previous_{};
  int signal_ = 0;
};

}  // namespace orvctl
