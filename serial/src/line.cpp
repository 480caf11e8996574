#include "serial/line.h"

#include "serial/line_trace.h"
#include "trace_state.h"

namespace orvane::serial {

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::uint8_t kCarriageReturn = '\r';

// A line that streams without a CR still gets its bytes traced, in lines of
// this length.
constexpr std::size_t kLongestTracedReply = 4096;

}  // namespace

Line::Line() { traceFromEnvironment(); }

void Line::traceChecksumFailure(std::string_view reply) {
  if (!traceActive()) return;
  TraceEvent event;
  event.kind = TraceKind::ChecksumFailed;
  event.bytes = reply;
  trace(std::move(event));
}

void Line::trace(TraceEvent event) const {
  event.at = std::chrono::system_clock::now();
  event.port = traceName_.empty() ? device() : traceName_;
  traceEvent(event);
}

void Line::catchUpWithTrace() {
  const unsigned epoch = traceEpoch();
  if (epoch == traceEpoch_) return;
  traceEpoch_ = epoch;
  lastSend_.reset();
  received_.clear();
}

void Line::flushReceived() {
  if (received_.empty()) return;
  TraceEvent event;
  event.kind = TraceKind::Received;
  event.bytes = std::exchange(received_, {});
  if (lastSend_) event.delay = traceDelay(*lastSend_);
  trace(std::move(event));
}

void Line::tracedConfigure(int baudRate, Parity parity) {
  catchUpWithTrace();
  flushReceived();
  doConfigure(baudRate, parity);
  TraceEvent event;
  event.kind = TraceKind::BaudChanged;
  event.baudRate = baudRate;
  event.parity = parity;
  event.fixedSpeed = fixedSpeed();
  trace(std::move(event));
}

void Line::tracedPurge(bool inputOnly) {
  catchUpWithTrace();
  flushReceived();
  TraceEvent event;
  event.kind = TraceKind::Purged;
  event.inputOnly = inputOnly;
  event.dropped = available();
  if (inputOnly)
    doPurgeInput();
  else
    doPurge();
  trace(std::move(event));
}

bool Line::tracedWrite(std::string_view data, std::chrono::milliseconds timeout) {
  catchUpWithTrace();
  flushReceived();
  const auto sent = SteadyClock::now();
  if (!doWrite(data, timeout)) return false;
  lastSend_ = sent;
  TraceEvent event;
  event.kind = TraceKind::Sent;
  event.bytes = data;
  trace(std::move(event));
  return true;
}

std::optional<std::uint8_t> Line::tracedReadByte(std::chrono::milliseconds timeout) {
  catchUpWithTrace();
  const auto byte = doReadByte(timeout);
  if (!byte) {
    TraceEvent event;
    event.kind = TraceKind::TimedOut;
    event.bytes = std::exchange(received_, {});
    if (lastSend_) event.delay = traceDelay(*lastSend_);
    trace(std::move(event));
    return byte;
  }
  received_.push_back(static_cast<char>(*byte));
  if (*byte == kCarriageReturn || received_.size() >= kLongestTracedReply) flushReceived();
  return byte;
}

}  // namespace orvane::serial
