#include "sim/network.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "command_faults.h"
#include "configuration.h"
#include "families.h"
#include "frame_log.h"
#include "line_link.h"
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

// How long the characters sent before a hang-up wait for their reader.
constexpr auto kUnreadBeforeHangUp = std::chrono::seconds(1);

struct Slot {
  ModuleState state;
  FaultSpec fault;
  std::vector<CommandFault> commandFaults;
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
  bool hangUp = false;  // after the bytes
};

}  // namespace

struct Network::Impl {
  NetworkOptions options;
  // Used and replaced on the line's thread only (jobs run there); null while
  // unplugged.
  std::unique_ptr<PtyTransport> pty;
  int wake = -1;
  Clock::time_point start = Clock::now();

  mutable std::mutex mutex;
  mutable std::condition_variable framesChanged;
  std::vector<Slot> slots;
  FrameLog log;
  std::string slavePath;
  bool plugged = false;
  bool stopping = false;
  std::vector<std::function<void()>> jobs;
  std::thread thread;
  std::thread::id lineThread;  // set once, before the thread takes the lock
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

  // Sleeps until the deadline, waking early when the network stops or a job
  // arrives; false then. ppoll keeps the microseconds that a character takes at 115200 bps.
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
  bool runJobs();
  void runOnLine(const std::function<void()>& job);
  void plugIn();
  void hangUp();
  void onBytes(const std::string& bytes);
  void onFrame(const std::string& raw);
  std::optional<Answer> answerFrame(const std::string& raw, const LineSettings& line,
                                    FrameRecord& record);
  Reply carryOut(Slot& s, const Command& command, bool refuse, Moment t);
  std::optional<Answer> answerModule(Slot& s, const Command& command, Moment t,
                                     FrameRecord& record);
  void send(const Answer& answer, const FrameRecord& record);
  bool writePaced(const Answer& answer);
  void waitUntilRead();
};

void Network::Impl::run() {
  for (;;) {
    pollfd fds[2] = {{wake, POLLIN, 0}, {pty ? pty->masterFd() : -1, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) continue;
    if (fds[0].revents != 0) {
      if (!runJobs()) return;
      continue;
    }
    if (fds[1].revents != 0) {
      const std::string bytes = pty->readAvailable();
      if (bytes.empty()) pause(0.01);  // a hang-up without data: do not spin
      onBytes(bytes);
    }
  }
}

// False when the network stops.
bool Network::Impl::runJobs() {
  std::uint64_t count = 0;
  [[maybe_unused]] const auto got = ::read(wake, &count, sizeof count);
  std::vector<std::function<void()>> todo;
  bool stop = false;
  {
    std::lock_guard lock(mutex);
    todo.swap(jobs);
    stop = stopping;
  }
  for (auto& job : todo) job();
  return !stop;
}

// The pty is the line thread's: others hand it a job and wait for it.
void Network::Impl::runOnLine(const std::function<void()>& job) {
  if (std::this_thread::get_id() == lineThread) {
    job();  // from the onFrame callback
    return;
  }
  std::packaged_task<void()> task(job);
  auto done = task.get_future();
  {
    std::lock_guard lock(mutex);
    if (stopping) return;
    jobs.push_back([&task] { task(); });
  }
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto written = ::write(wake, &one, sizeof one);
  done.get();
}

void Network::Impl::plugIn() {
  if (pty) return;
  auto fresh = std::make_unique<PtyTransport>();
  if (!options.linkPath.empty()) pointLink(options.linkPath, fresh->slavePath());
  std::lock_guard lock(mutex);
  slavePath = fresh->slavePath();
  plugged = true;
  pty = std::move(fresh);
}

void Network::Impl::hangUp() {
  if (!pty) return;
  {
    // Unplugged before the product can see the hang-up.
    std::lock_guard lock(mutex);
    plugged = false;
  }
  if (!options.linkPath.empty()) removeLink(options.linkPath);
  pty.reset();
  pending.clear();
}

void Network::Impl::onBytes(const std::string& bytes) {
  for (char ch : bytes) {
    if (!pty) return;  // hung up by the frame before: the rest is lost with the line
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
  const LineSettings line = pty->lineSettings();
  record.baudRate = line.baudRate;
  record.parity = line.parity;
  std::optional<Answer> answer;
  {
    std::lock_guard lock(mutex);
    answer = answerFrame(raw.substr(0, raw.size() - 1), line, record);
  }
  // Logged before the reply goes out: a host that has its reply finds the
  // frame in the log.
  {
    std::lock_guard lock(mutex);
    log.add(record);
  }
  framesChanged.notify_all();
  if (options.onFrame) options.onFrame(record);
  if (!pty) return;  // the callback unplugged the line
  if (options.wireTime && line.baudRate > 0 && !pause(10.0 * raw.size() / line.baudRate)) return;
  if (answer) send(*answer, record);
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
    return answerModule(s, *command, t, record);
  }
  return std::nullopt;
}

Reply Network::Impl::carryOut(Slot& s, const Command& command, bool refuse, Moment t) {
  if (refuse) return refused(command);
  const auto newAddress = requestedAddress(command);
  if (newAddress && *newAddress != s.state.address && find(*newAddress))
    return refused(command);  // two modules would share the address
  if (command.lead == '~' && command.body.rfind('2', 0) == 0)
    s.lastHostOk = t.t;  // the watchdog starts timing now
  return respond(s.state, command, t);
}

std::optional<Answer> Network::Impl::answerModule(Slot& s, const Command& command, Moment t,
                                                  FrameRecord& record) {
  const FaultSpec& fault = faultFor(s.commandFaults, s.fault, command);
  // The reply goes out in the framing the command came in: a "%" that moves
  // a checksum module to or from address 00 is still answered as it was
  // addressed.
  const bool withChecksum = answersWithChecksum(s.state);
  const Reply reply = fault.silent ? std::nullopt : carryOut(s, command, fault.refuseAll, t);
  Answer answer;
  if (fault.reply && !fault.silent)
    answer.bytes = *fault.reply;
  else if (reply && !reply->empty())  // an empty reply: a silent RS-232 device
    answer.bytes = frameReply(*reply, withChecksum, fault);
  if (fault.hangUpAfter) {
    answer.bytes.resize(std::min<std::size_t>(
        answer.bytes.size(), static_cast<std::size_t>(std::max(0, *fault.hangUpAfter))));
    answer.hangUp = true;
  }
  if (answer.bytes.empty() && !answer.hangUp) return std::nullopt;
  answer.baudRate = record.baudRate;
  answer.delayMs = fault.delayMs;
  answer.charGapMs = fault.charGapMs;
  if (!answer.bytes.empty()) record.answeredBy = s.state.address;
  record.reply = answer.bytes;
  return answer;
}

void Network::Impl::send(const Answer& answer, const FrameRecord& record) {
  if (!answer.bytes.empty() && writePaced(answer) && options.onReplySent)
    options.onReplySent(record);
  if (!answer.hangUp) return;
  waitUntilRead();
  hangUp();
}

// False when a stop or a job cut the reply short.
bool Network::Impl::writePaced(const Answer& answer) {
  if (!pause(answer.delayMs / 1000.0)) return false;
  const double charTime = options.wireTime && answer.baudRate > 0 ? 10.0 / answer.baudRate : 0.0;
  if (charTime == 0.0 && answer.charGapMs == 0) {
    pty->write(answer.bytes);
    return true;
  }
  // Each character is paced against its own deadline, so the rounding of one
  // pause never adds up over a reply.
  const auto characterTime =
      std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(charTime));
  auto deadline = Clock::now();
  for (std::size_t i = 0; i < answer.bytes.size(); ++i) {
    if (i > 0 && answer.charGapMs > 0) {
      deadline += std::chrono::milliseconds(answer.charGapMs);
      if (!pauseUntil(deadline)) return false;
    }
    pty->write(answer.bytes.substr(i, 1));
    deadline += characterTime;
    if (!pauseUntil(deadline)) return false;
  }
  return true;
}

// The product reads the characters sent before a hang-up, as it would have
// read them off a real adapter while they trickled in; a hang-up throws away
// whatever is still unread.
void Network::Impl::waitUntilRead() {
  const auto deadline = Clock::now() + kUnreadBeforeHangUp;
  while (pty->unread() && Clock::now() < deadline)
    if (!pause(0.001)) return;
}

Network::Network(std::vector<ModuleState> modules, NetworkOptions options)
    : impl_(std::make_unique<Impl>()) {
  impl_->options = std::move(options);
  for (auto& m : modules) addModule(std::move(m));
  impl_->plugIn();
  impl_->wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (impl_->wake < 0) {
    if (!impl_->options.linkPath.empty()) removeLink(impl_->options.linkPath);
    throw std::runtime_error("simulator: cannot create its wake-up event");
  }
  std::lock_guard lock(impl_->mutex);
  impl_->thread = std::thread([this] { impl_->run(); });
  impl_->lineThread = impl_->thread.get_id();
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
  if (impl_->pty && !impl_->options.linkPath.empty()) removeLink(impl_->options.linkPath);
}

std::string Network::slavePath() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->slavePath;
}

void Network::unplug() {
  impl_->runOnLine([this] { impl_->hangUp(); });
}

void Network::replug() {
  impl_->runOnLine([this] { impl_->plugIn(); });
}

bool Network::pluggedIn() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->plugged;
}

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

void Network::setFault(int address, const std::string& command, const FaultSpec& fault) {
  std::lock_guard lock(impl_->mutex);
  setCommandFault(impl_->get(address).commandFaults, {command, fault});
}

void Network::clearFaults() {
  std::lock_guard lock(impl_->mutex);
  for (auto& s : impl_->slots) {
    s.fault = {};
    s.commandFaults.clear();
  }
}

std::vector<FrameRecord> Network::frames() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->log.recent();
}

void Network::clearFrames() {
  std::lock_guard lock(impl_->mutex);
  impl_->log.clear();
}

bool Network::waitForFrames(std::size_t n, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(impl_->mutex);
  return impl_->framesChanged.wait_for(lock, timeout,
                                       [&] { return impl_->log.countSinceClear() >= n; });
}

}  // namespace orvane::sim
