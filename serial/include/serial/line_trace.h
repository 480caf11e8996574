// The line trace: one line of text for every frame sent, every reply
// received, every time-out, checksum failure, purge and baud change on any
// serial line of the program, in one format for every product:
//
//   2026-05-04 14:03:07.123456 COM1 /dev/ttyUSB0 * purge: input and output discarded
//   2026-05-04 14:03:07.123502 COM1 /dev/ttyUSB0 > $01M<CR>
//   2026-05-04 14:03:07.135847 COM1 /dev/ttyUSB0 < !017213<CR>  12.345 ms
//   2026-05-04 14:03:07.240112 COM1 /dev/ttyUSB0 ! time-out: no reply  100.210 ms
//
// Local time to the microsecond, the line's name (its COM number and device
// or URL), a mark (">" sent, "<" received, "!" a time-out or a checksum
// failure, "*" a purge or a baud change), the frame or the event in words,
// and for a reply or a time-out two blanks and the delay since the frame was
// sent. Frames show printable ASCII as it is; a carriage return is "<CR>", a
// line feed "<LF>", every other byte and "<" itself "<0xHH>", so a frame
// reads back unambiguously.
//
// The trace is on while a trace file is open or a listener subscribed.
// ORVANE_TRACE=FILE in the environment opens FILE when the program opens its
// first line. While the trace is off, each read, write, purge and change of
// the line costs one test of a flag and nothing else.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "serial/line.h"

namespace orvane::serial {

enum class TraceKind {
  Sent,            // ">" a frame went out
  Received,        // "<" a reply up to its CR, or what came before the next send
  TimedOut,        // "!" no further character within the time-out
  ChecksumFailed,  // "!" the product found the reply's checksum wrong
  Purged,          // "*" pending data discarded
  BaudChanged,     // "*" the line set to a rate and parity
};

struct TraceEvent {
  TraceKind kind = TraceKind::Sent;
  std::chrono::system_clock::time_point at;
  std::string port;   // "COM1 /dev/ttyUSB0", "COM3 rfc2217://host:7001"
  std::string bytes;  // the frame; for a time-out what came before it
  // A reply and a time-out: since the frame was sent, when the line sent one
  // while the trace was on. (The simulator gives its replies the delay after
  // the frame they answer.)
  std::optional<std::chrono::microseconds> delay;
  int baudRate = 0;  // BaudChanged
  Parity parity = Parity::None;
  bool fixedSpeed = false;  // BaudChanged: the far end keeps its own speed
  bool inputOnly = false;   // Purged: output was left alone
  std::size_t dropped = 0;  // Purged: received bytes thrown away
};

// The frame as the trace shows it ("$01M<CR>").
std::string traceFrameText(std::string_view bytes);
// The event's line, without its line feed.
std::string formatTraceLine(const TraceEvent& event);

// Whether the trace is on: a trace file is open or a listener subscribed.
inline bool traceActive() { return detail::tracing(); }

// Hands the event to the trace file and every listener; nothing when the
// trace is off. Lines call it themselves; a program that sees the line from
// elsewhere (the simulator's side of a pty) may call it too.
void traceEvent(const TraceEvent& event);

// A trace file that cannot be opened: the text names the file and the
// cause; code() is the errno value (EINVAL for a FIFO or a socket).
class TraceFileError : public SerialError {
 public:
  TraceFileError(const std::string& text, int code) : SerialError(text), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// Opens FILE for the trace in place of the file open so far: appended to
// (created when missing), one write(2) per line, so that several programs
// can share one file without their lines mixing. A regular file or a
// character device (a terminal, /dev/null); a FIFO or a socket is refused,
// since a reader going away would end the program. Throws TraceFileError;
// the former file stays in use then.
void openTraceFile(const std::string& path);
// Closes the trace file, if any; listeners go on receiving.
void closeTraceFile();
// Reads ORVANE_TRACE once per process and opens its file; a file that cannot
// be opened is said once on standard error and the program goes on without
// it. Every line calls it when it is made.
void traceFromEnvironment();

using TraceListener = std::function<void(const TraceEvent&)>;

// A listener's place in the trace: the listener is called until the
// subscription is reset or destroyed. Once that has returned it is neither
// running nor called again.
class [[nodiscard]] TraceSubscription {
 public:
  TraceSubscription() = default;
  ~TraceSubscription() { reset(); }
  TraceSubscription(TraceSubscription&& other) noexcept;
  TraceSubscription& operator=(TraceSubscription&& other) noexcept;
  TraceSubscription(const TraceSubscription&) = delete;
  TraceSubscription& operator=(const TraceSubscription&) = delete;

  void reset();
  bool active() const { return id_ != 0; }

 private:
  friend TraceSubscription subscribeTrace(TraceListener listener);
  explicit TraceSubscription(std::uint64_t id) : id_(id) {}
  std::uint64_t id_ = 0;
};

// Calls the listener with every event from now on, on the thread of the line
// that made it (a window queues it to its own thread). Listeners run one at
// a time under the trace's lock: a listener must return quickly, must not
// wait for another thread, and must not subscribe, reset a subscription or
// open or close the trace file.
TraceSubscription subscribeTrace(TraceListener listener);

}  // namespace orvane::serial
