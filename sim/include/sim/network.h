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

// Faults a test can inject into a module's replies: into all of them, or
// into those to one command (see Network::setFault).
struct FaultSpec {
  bool silent = false;             // never answers, and does not carry the command out
  int delayMs = 0;                 // pause before the first reply character
  int charGapMs = 0;               // pause between reply characters
  bool wrongChecksum = false;      // checksum digits off by one
  bool lowerCaseChecksum = false;  // checksum digits in lower case
  bool nulBytes = false;           // NUL bytes inside the reply
  bool noCarriageReturn = false;   // reply without its CR
  bool garbage = false;            // a burst of garbage bytes before the reply
  bool refuseAll = false;          // answers every frame with "?AA"
  // The exact bytes sent instead of the module's reply: no checksum is added,
  // a CR only when the text holds one, and the faults above that shape the
  // reply's bytes do not apply (the pauses do). The module still carries the
  // command out and keeps its effect: the module did the work, the line
  // garbled the answer. Sent even where the module itself would stay silent.
  std::optional<std::string> reply = std::nullopt;
  // The adapter is pulled while the module answers: after the frame arrived,
  // this many characters of the (faulted) reply go out and then the line hangs
  // up as unplug() does. 0 hangs up before the first reply character; the
  // pause of delayMs applies only when a character goes out. The line waits
  // (up to a second) for the reader to take those characters first, so that
  // the product sees exactly them and then the hang-up.
  std::optional<int> hangUpAfter = std::nullopt;
};

// One frame the line carried to the simulator.
struct FrameRecord {
  std::string raw;                // bytes as received, CR included
  int baudRate = 0;               // line speed when the frame arrived
  int parity = 0;                 // and its parity: 0 none, 1 odd, 2 even
  std::optional<int> answeredBy;  // stored address of the module that replied
  std::string reply;              // bytes sent back, CR included
  std::chrono::steady_clock::time_point at;
};

struct NetworkOptions {
  // Each command and reply character takes 10 bit times at the line's baud
  // rate, as on a real line.
  bool wireTime = false;
  // Creates a symbolic link to the slave path: pointed at the new line by
  // replug(), removed by unplug() and when the network stops.
  std::string linkPath;
  // Called for each frame as it arrives, with the reply worked out for it but
  // not yet sent (the orvsim -v log).
  std::function<void(const FrameRecord&)> onFrame;
  // Called when the reply to a frame has gone out; not for a frame without
  // one, nor for a reply cut short by a stop.
  std::function<void(const FrameRecord&)> onReplySent;
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

  // The path the products open ("/dev/pts/N"); while unplugged the path of
  // the line that hung up.
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

  // A fault for every frame addressed to the module.
  void setFault(int address, const FaultSpec& fault);
  // A fault for the frames to the module whose command text (without checksum
  // digits and CR) matches the pattern: "AA" right after the lead character
  // stands for the address the frame addresses the module by ("00" in the
  // initialization state), a trailing "*" for any rest, and every other
  // character for itself: "$AA3", "@AARE", "#AA*". It takes precedence over
  // the module-wide fault; of several matching patterns the one set last
  // wins, and setting a pattern again replaces its fault.
  void setFault(int address, const std::string& command, const FaultSpec& fault);
  // Clears the module-wide and the command faults of every module.
  void clearFaults();

  // Pulls the adapter: the master side of the pty is closed, so a program
  // holding the slave sees it hang up (poll() reports POLLHUP, read() returns
  // 0, write() fails with EIO), the link (NetworkOptions::linkPath) is
  // removed as a vanished device node would be, and frames are no longer
  // answered. The modules keep their state. Nothing happens when the line is
  // already unplugged or the network stopped.
  void unplug();
  // Plugs the adapter in again: a new pty (slavePath() names it) and, with a
  // link path, the same link pointed at it, so a program that reopens the
  // link talks to the same modules. Nothing happens while plugged in. Throws
  // std::runtime_error when the pty or the link cannot be made.
  void replug();
  bool pluggedIn() const;

  // The log keeps the most recent frames only, so a long run costs bounded
  // memory; the count of waitForFrames goes on beyond it.
  static constexpr std::size_t kFrameLogWindow = 10000;
  // The last kFrameLogWindow frames since clearFrames(), oldest first.
  std::vector<FrameRecord> frames() const;
  void clearFrames();
  // Waits until at least n frames arrived since the last clearFrames() (also
  // when the log no longer holds the oldest of them); false on time-out.
  bool waitForFrames(std::size_t n, std::chrono::milliseconds timeout) const;

  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The built-in demo network: all 20 models once, at addresses below 40.
std::vector<ModuleState> demoNetwork();

}  // namespace orvane::sim
