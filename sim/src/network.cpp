#include "sim/network.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "configuration.h"
#include "families.h"
#include "line_rules.h"
#include "protocol/catalogue.h"
#include "protocol/frame.h"
#include "pty_transport.h"

namespace orvane::sim {
namespace {

using Clock = std::chrono::steady_clock;

// Bytes without a carriage return are dropped beyond this, like a module's
// receive buffer overflowing on line noise.
constexpr std::size_t kMaxFrame = 512;

struct Slot {
  ModuleState state;
  FaultSpec fault;
  double lastAdvance = 0.0;
  double lastHostOk = 0.0;
};

// What the line thread sends back for one frame, worked out under the lock
// and written after it is released.
struct Answer {
  std::string bytes;
  int baudRate = 0;
  int delayMs = 0;
  int charGapMs = 0;
};

}  // namespace

struct Network::Impl {
  NetworkOptions options;
  PtyTransport pty;
  int wake = -1;
  Clock::time_point start = Clock::now();

  mutable std::mutex mutex;
  mutable std::condition_variable framesChanged;
  std::vector<Slot> slots;
  std::vector<FrameRecord> log;
  bool stopping = false;
  std::thread thread;
  std::string pending;

  Moment now() const { return {std::chrono::duration<double>(Clock::now() - start).count()}; }

  Slot* find(int address) {
    for (auto& s : slots)
      if (s.state.address == address) return &s;
    return nullptr;
  }
  Slot& get(int address) {
    Slot* s = find(address);
    if (!s) throw std::out_of_range("no simulated module at address " + std::to_string(address));
    return *s;
  }

  void bringUpToDate(Slot& s, Moment t) {
    if (t.t > s.lastAdvance) {
      advance(s.state, {s.lastAdvance}, t);
      s.lastAdvance = t.t;
    }
    checkWatchdog(s.state, {s.lastHostOk}, t);
  }

  // Sleeps until the deadline, waking early when the network stops; false
  // then. ppoll keeps the microseconds that a character takes at 115200 bps.
  bool pauseUntil(Clock::time_point deadline) const {
    pollfd p{wake, POLLIN, 0};
    for (;;) {
      const auto left = deadline - Clock::now();
      if (left <= Clock::duration::zero()) return true;
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      timespec timeout{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
      const int n = ::ppoll(&p, 1, &timeout, nullptr);
      if (n > 0) return false;
      if (n < 0 && errno != EINTR) return true;
    }
  }

  bool pause(double seconds) const {
    if (seconds <= 0) return true;
    return pauseUntil(Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                         std::chrono::duration<double>(seconds)));
  }

  void run();
  void onBytes(const std::string& bytes);
  void onFrame(const std::string& raw);
  std::optional<Answer> answerFrame(const std::string& raw, const LineSettings& line,
                                    FrameRecord& record);
  void send(const Answer& answer);
};

void Network::Impl::run() {
  for (;;) {
    pollfd fds[2] = {{pty.masterFd(), POLLIN, 0}, {wake, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents != 0) return;
    if (fds[0].revents != 0) {
      const std::string bytes = pty.readAvailable();
      if (bytes.empty()) pause(0.01);  // a hang-up without data: do not spin
      onBytes(bytes);
    }
  }
}

void Network::Impl::onBytes(const std::string& bytes) {
  for (char ch : bytes) {
    pending += ch;
    if (ch == protocol::kCarriageReturn) {
      std::string frame;
      frame.swap(pending);
      onFrame(frame);
    } else if (pending.size() > kMaxFrame) {
      pending.clear();
    }
  }
}

void Network::Impl::onFrame(const std::string& raw) {
  FrameRecord record;
  record.raw = raw;
  record.at = Clock::now();
  const LineSettings line = pty.lineSettings();
  record.baudRate = line.baudRate;
  std::optional<Answer> answer;
  {
    std::lock_guard lock(mutex);
    answer = answerFrame(raw.substr(0, raw.size() - 1), line, record);
  }
  // Logged before the reply goes out: a host that has its reply finds the
  // frame in the log.
  {
    std::lock_guard lock(mutex);
    log.push_back(record);
  }
  framesChanged.notify_all();
  if (options.onFrame) options.onFrame(record);
  if (options.wireTime && line.baudRate > 0 && !pause(10.0 * raw.size() / line.baudRate)) return;
  if (answer) send(*answer);
}

std::optional<Answer> Network::Impl::answerFrame(const std::string& text, const LineSettings& line,
                                                 FrameRecord& record) {
  const Moment t = now();
  if (isBroadcastFrame(text)) {
    for (auto& s : slots) {
      if (!hearsBroadcast(s.state, text, line)) continue;
      bringUpToDate(s, t);
      if (text[0] == '#')
        takeSyncSample(s.state, t);
      else
        s.lastHostOk = t.t;
    }
    return std::nullopt;
  }
  for (auto& s : slots) {
    const auto command = addressedTo(s.state, text, line);
    if (!command) continue;
    bringUpToDate(s, t);
    if (s.fault.silent) return std::nullopt;
    Reply reply;
    const auto newAddress = requestedAddress(*command);
    if (s.fault.refuseAll) {
      reply = refused(*command);
    } else if (newAddress && *newAddress != s.state.address && find(*newAddress)) {
      reply = refused(*command);  // two modules would share the address
    } else {
      reply = respond(s.state, *command, t);
      if (command->lead == '~' && command->body.rfind('2', 0) == 0)
        s.lastHostOk = t.t;  // the watchdog starts timing now
    }
    if (!reply || reply->empty()) return std::nullopt;  // a silent RS-232 device
    Answer answer;
    answer.bytes = frameReply(*reply, answersWithChecksum(s.state), s.fault);
    answer.baudRate = line.baudRate;
    answer.delayMs = s.fault.delayMs;
    answer.charGapMs = s.fault.charGapMs;
    record.answeredBy = s.state.address;
    record.reply = answer.bytes;
    return answer;
  }
  return std::nullopt;
}

void Network::Impl::send(const Answer& answer) {
  if (!pause(answer.delayMs / 1000.0)) return;
  const double charTime = options.wireTime && answer.baudRate > 0 ? 10.0 / answer.baudRate : 0.0;
  if (charTime == 0.0 && answer.charGapMs == 0) {
    pty.write(answer.bytes);
    return;
  }
  // Each character is paced against its own deadline, so the rounding of one
  // pause never adds up over a reply.
  const auto characterTime =
      std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(charTime));
  auto deadline = Clock::now();
  for (std::size_t i = 0; i < answer.bytes.size(); ++i) {
    if (i > 0 && answer.charGapMs > 0) {
      deadline += std::chrono::milliseconds(answer.charGapMs);
      if (!pauseUntil(deadline)) return;
    }
    pty.write(answer.bytes.substr(i, 1));
    deadline += characterTime;
    if (!pauseUntil(deadline)) return;
  }
}

Network::Network(std::vector<ModuleState> modules, NetworkOptions options)
    : impl_(std::make_unique<Impl>()) {
  impl_->options = std::move(options);
  for (auto& m : modules) addModule(std::move(m));
  impl_->wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (impl_->wake < 0) throw std::runtime_error("simulator: cannot create its wake-up event");
  if (!impl_->options.linkPath.empty()) {
    const std::string& link = impl_->options.linkPath;
    struct stat existing {};
    // Only a stale link is replaced; a file of the user's is never removed.
    if (::lstat(link.c_str(), &existing) == 0) {
      if (!S_ISLNK(existing.st_mode)) {
        ::close(impl_->wake);
        throw std::runtime_error("simulator: " + link + " exists and is not a symbolic link");
      }
      ::unlink(link.c_str());
    }
    if (::symlink(impl_->pty.slavePath().c_str(), impl_->options.linkPath.c_str()) != 0) {
      ::close(impl_->wake);
      throw std::runtime_error("simulator: cannot create the link " + impl_->options.linkPath);
    }
  }
  impl_->thread = std::thread([this] { impl_->run(); });
}

Network::~Network() {
  stop();
  ::close(impl_->wake);
}

void Network::stop() {
  {
    std::lock_guard lock(impl_->mutex);
    if (impl_->stopping) return;
    impl_->stopping = true;
  }
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto written = ::write(impl_->wake, &one, sizeof one);
  if (impl_->thread.joinable()) impl_->thread.join();
  if (!impl_->options.linkPath.empty()) ::unlink(impl_->options.linkPath.c_str());
}

std::string Network::slavePath() const { return impl_->pty.slavePath(); }

std::vector<int> Network::addresses() const {
  std::lock_guard lock(impl_->mutex);
  std::vector<int> result;
  for (const auto& s : impl_->slots) result.push_back(s.state.address);
  return result;
}

ModuleState Network::state(int address) const {
  std::lock_guard lock(impl_->mutex);
  Slot& s = impl_->get(address);
  impl_->bringUpToDate(s, impl_->now());
  return s.state;
}

void Network::modify(int address, const std::function<void(ModuleState&)>& change) {
  std::lock_guard lock(impl_->mutex);
  Slot& s = impl_->get(address);
  impl_->bringUpToDate(s, impl_->now());
  ModuleState copy = s.state;
  change(copy);
  if (copy.address != address && impl_->find(copy.address))
    throw std::invalid_argument("address " + std::to_string(copy.address) + " is taken");
  s.state = std::move(copy);
}

void Network::addModule(ModuleState module) {
  std::lock_guard lock(impl_->mutex);
  if (impl_->find(module.address))
    throw std::invalid_argument("two modules at address " + std::to_string(module.address));
  Slot slot;
  slot.state = std::move(module);
  slot.lastAdvance = impl_->now().t;
  slot.lastHostOk = slot.lastAdvance;
  impl_->slots.push_back(std::move(slot));
}

void Network::setInitState(int address, bool on) {
  modify(address, [on](ModuleState& m) { setInitialization(m, on); });
}

void Network::setFault(int address, const FaultSpec& fault) {
  std::lock_guard lock(impl_->mutex);
  impl_->get(address).fault = fault;
}

void Network::clearFaults() {
  std::lock_guard lock(impl_->mutex);
  for (auto& s : impl_->slots) s.fault = {};
}

std::vector<FrameRecord> Network::frames() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->log;
}

void Network::clearFrames() {
  std::lock_guard lock(impl_->mutex);
  impl_->log.clear();
}

bool Network::waitForFrames(std::size_t n, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(impl_->mutex);
  return impl_->framesChanged.wait_for(lock, timeout, [&] { return impl_->log.size() >= n; });
}

}  // namespace orvane::sim
