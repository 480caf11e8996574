// The module network simulator: a multi-drop line of simulated Orvane modules
// on a pseudo-terminal. The simulator holds the master side; products open the
// slave path like any serial device. Before answering a frame the simulator
// reads the slave's termios settings: a module answers only when the line runs
// at its own baud rate, 8 data bits, no parity.
//
// All members are thread-safe.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/module_state.h"

namespace orvane::sim {

// Faults a test can inject into one module's replies.
struct FaultSpec {
  bool silent = false;             // never answers
  int delayMs = 0;                 // pause before the first reply character
  int charGapMs = 0;               // pause between reply characters
  bool wrongChecksum = false;      // checksum digits off by one
  bool lowerCaseChecksum = false;  // checksum digits in lower case
  bool nulBytes = false;           // NUL bytes inside the reply
  bool noCarriageReturn = false;   // reply without its CR
  bool garbage = false;            // a burst of garbage bytes before the reply
  bool refuseAll = false;          // answers every frame with "?AA"
};

// One frame the line carried to the simulator.
struct FrameRecord {
  std::string raw;                // bytes as received, CR included
  int baudRate = 0;               // line speed when the frame arrived
  std::optional<int> answeredBy;  // stored address of the module that replied
  std::string reply;              // bytes sent back, CR included
  std::chrono::steady_clock::time_point at;
};

struct NetworkOptions {
  // Each command and reply character takes 10 bit times at the line's baud
  // rate, as on a real line.
  bool wireTime = false;
  // Creates a symbolic link to the slave path (removed when the network stops).
  std::string linkPath;
  // Called for each frame and its reply (the orvsim -v log).
  std::function<void(const FrameRecord&)> onFrame;
};

class Network {
 public:
  // Starts the network on a new pty with its own thread. Throws
  // std::runtime_error when the pty cannot be made or two modules share an
  // address.
  explicit Network(std::vector<ModuleState> modules, NetworkOptions options = {});
  ~Network();
  Network(const Network&) = delete;
  Network& operator=(const Network&) = delete;

  // The path the products open ("/dev/pts/N").
  std::string slavePath() const;

  // Modules are known by their stored address.
  std::vector<int> addresses() const;
  ModuleState state(int address) const;
  // Changes a module's state under the network's lock.
  void modify(int address, const std::function<void(ModuleState&)>& change);
  void addModule(ModuleState module);

  // Into and out of the initialization state: answers only at address 00,
  // 9600 bps, without checksum. A baud rate or checksum stored while in it
  // takes effect when the module leaves it.
  void setInitState(int address, bool on);

  void setFault(int address, const FaultSpec& fault);
  void clearFaults();

  std::vector<FrameRecord> frames() const;
  void clearFrames();
  // Waits until at least n frames are logged; false on time-out.
  bool waitForFrames(std::size_t n, std::chrono::milliseconds timeout) const;

  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The built-in demo network: all 20 models once, at addresses below 40.
std::vector<ModuleState> demoNetwork();

}  // namespace orvane::sim
