#include "serial/line_trace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "file_kind.h"
#include "serial/error_text.h"
#include "trace_state.h"

namespace orvane::serial {

namespace {

struct Listener {
  std::uint64_t id;
  TraceListener call;
};

struct TraceState {
  std::mutex mutex;
  int fd = -1;
  std::string path;
  std::vector<Listener> listeners;
  std::uint64_t nextId = 1;
  std::atomic<unsigned> epoch{0};
};

// Never destroyed: the lines of other threads may still trace while the
// process exits.
TraceState& state() {
  static TraceState* const shared = new TraceState;
  return *shared;
}

// With the lock held.
void settle(TraceState& s) {
  const bool on = s.fd >= 0 || !s.listeners.empty();
  if (on && !detail::traceOn.load(std::memory_order_relaxed))
    s.epoch.fetch_add(1, std::memory_order_relaxed);
  detail::traceOn.store(on, std::memory_order_relaxed);
}

void closeFile(TraceState& s) {
  if (s.fd >= 0) ::close(s.fd);
  s.fd = -1;
  s.path.clear();
}

[[noreturn]] void refuseKind(const std::string& path, mode_t mode) {
  throw TraceFileError(
      path + ": is " + fileKindText(mode) + "; the trace goes to a regular file or a terminal",
      EINVAL);
}

int openFile(const std::string& path) {
  // Without O_NONBLOCK the open of a FIFO would wait for a reader.
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
  struct stat status {};
  if (fd < 0) {
    const int error = errno;
    // A FIFO without a reader refuses the open (ENXIO): say what it is.
    if (error == ENXIO && ::stat(path.c_str(), &status) == 0 && S_ISFIFO(status.st_mode))
      refuseKind(path, status.st_mode);
    throw TraceFileError(path + ": cannot open the trace file: " + errorText(error), error);
  }
  if (::fstat(fd, &status) != 0 || !(S_ISREG(status.st_mode) || S_ISCHR(status.st_mode))) {
    ::close(fd);
    refuseKind(path, status.st_mode);
  }
  // A terminal is written to as any program writes to it.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

void say(const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, text.c_str());
}

// One write per line: lines appended by several programs stay whole. A file
// that fails (a full disk) is said once and given up.
void writeLine(TraceState& s, const TraceEvent& event) {
  if (s.fd < 0) return;
  const std::string line = formatTraceLine(event) + '\n';
  std::string_view rest = line;
  while (!rest.empty()) {
    const ssize_t n = ::write(s.fd, rest.data(), rest.size());
    if (n > 0) {
      rest.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    say(s.path + ": cannot write the trace file: " + errorText(n < 0 ? errno : EIO) +
        "; the trace to it stops");
    closeFile(s);
    settle(s);
    return;
  }
}

void callListeners(const TraceState& s, const TraceEvent& event) {
  for (const auto& listener : s.listeners) {
    // What a listener does wrong must not break the line it watches.
    try {
      listener.call(event);
    } catch (...) {
    }
  }
}

void openFileOnly(const std::string& path) {
  const int fd = openFile(path);
  TraceState& s = state();
  std::lock_guard lock(s.mutex);
  closeFile(s);
  s.fd = fd;
  s.path = path;
  settle(s);
}

}  // namespace

unsigned traceEpoch() { return state().epoch.load(std::memory_order_relaxed); }

void traceEvent(const TraceEvent& event) {
  if (!traceActive()) return;
  TraceState& s = state();
  std::lock_guard lock(s.mutex);
  writeLine(s, event);
  callListeners(s, event);
}

void traceFromEnvironment() {
  static std::once_flag once;
  std::call_once(once, [] {
    const char* path = std::getenv("ORVANE_TRACE");
    if (!path || !*path) return;
    try {
      openFileOnly(path);
    } catch (const SerialError& failure) {
      say(std::string("ORVANE_TRACE: ") + failure.what() + "; the program goes on without it");
    }
  });
}

// The environment is read first, so that the file a program opens itself
// is the one that stays.
void openTraceFile(const std::string& path) {
  traceFromEnvironment();
  openFileOnly(path);
}

void closeTraceFile() {
  traceFromEnvironment();
  TraceState& s = state();
  std::lock_guard lock(s.mutex);
  closeFile(s);
  settle(s);
}

TraceSubscription subscribeTrace(TraceListener listener) {
  TraceState& s = state();
  std::lock_guard lock(s.mutex);
  const std::uint64_t id = s.nextId++;
  s.listeners.push_back({id, std::move(listener)});
  settle(s);
  return TraceSubscription(id);
}

TraceSubscription::TraceSubscription(TraceSubscription&& other) noexcept
    : id_(std::exchange(other.id_, 0)) {}

TraceSubscription& TraceSubscription::operator=(TraceSubscription&& other) noexcept {
  if (this != &other) {
    reset();
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

void TraceSubscription::reset() {
  if (id_ == 0) return;
  TraceState& s = state();
  std::lock_guard lock(s.mutex);
  std::erase_if(s.listeners, [this](const Listener& l) { return l.id == id_; });
  id_ = 0;
  settle(s);
}

}  // namespace orvane::serial
