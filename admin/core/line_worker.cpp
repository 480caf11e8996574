#include "admin/core/line_worker.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>

#include "admin/core/ui_services.h"

namespace orvane::admin {

namespace {

class Completions : public QObject {
 public:
  explicit Completions(std::function<void()> deliver) : deliver_(std::move(deliver)) {}

 protected:
  void customEvent(QEvent*) override { deliver_(); }

 private:
  std::function<void()> deliver_;
};

}  // namespace

LocalWait::LocalWait() = default;

LocalWait::~LocalWait() = default;

void LocalWait::finish() {
  finished_ = true;
  if (loop_) loop_->quit();
}

void LocalWait::exec() {
  if (finished_) return;
  loop_ = std::make_unique<QEventLoop>();
  loop_->exec(QEventLoop::ExcludeUserInputEvents);
}

LineWorker::LineWorker(UiServices& ui) : ui_(ui) {}

LineWorker::~LineWorker() {
  if (!threaded()) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    for (const auto& job : queue_) job->cancelled = true;
    queue_.clear();
    if (current_) current_->cancelled = true;
  }
  wake_.notify_all();
  thread_.join();
}

void LineWorker::startThread() {
  if (threaded()) return;
  receiver_ = std::make_unique<Completions>([this] { deliverFinished(); });
  thread_ = std::thread([this] { run(); });
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [this] { return lineThread_ != std::thread::id(); });
}

bool LineWorker::onLineThread() const {
  return !threaded() || std::this_thread::get_id() == lineThread_;
}

void LineWorker::call(const std::function<void()>& fn) {
  if (onLineThread()) {
    fn();
    return;
  }
  // The window waits, repainting and running its timers, but a click or a
  // key waits until the job is done: the sequence is never re-entered.
  LocalWait wait;
  const Ticket job = post(fn, [&wait] { wait.finish(); });
  wait.exec();
  if (job->error) std::rethrow_exception(job->error);
}

LineWorker::Ticket LineWorker::post(std::function<void()> fn, std::function<void()> done) {
  auto job = std::make_shared<Job>();
  job->fn = std::move(fn);
  job->done = std::move(done);
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(job);
  }
  wake_.notify_all();
  return job;
}

void LineWorker::cancel(const Ticket& ticket) {
  if (!ticket) return;
  {
    std::lock_guard lock(mutex_);
    ticket->cancelled = true;
    std::erase(queue_, ticket);
  }
  wake_.notify_all();
}

void LineWorker::interruptPause() {
  {
    std::lock_guard lock(mutex_);
    if (current_) current_->interrupted = true;
    for (const auto& job : queue_) job->interrupted = true;
  }
  wake_.notify_all();
}

void LineWorker::pause(std::chrono::milliseconds duration) {
  if (!threaded()) {
    ui_.pause(duration);
    return;
  }
  std::unique_lock lock(mutex_);
  const Ticket job = current_;
  const bool cut = wake_.wait_for(lock, duration, [this, &job] {
    return stopping_ || (job && (job->cancelled || job->interrupted));
  });
  if (cut) throw LineJobCancelled();
}

void LineWorker::checkpoint() {
  if (!threaded()) return;
  std::lock_guard lock(mutex_);
  if (stopping_ || (current_ && (current_->cancelled || current_->interrupted)))
    throw LineJobCancelled();
}

LineWorker::Ticket LineWorker::take() {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
  if (stopping_) return nullptr;
  current_ = queue_.front();
  queue_.pop_front();
  return current_;
}

void LineWorker::run() {
  {
    std::lock_guard lock(mutex_);
    lineThread_ = std::this_thread::get_id();
  }
  wake_.notify_all();
  while (const Ticket job = take()) {
    try {
      job->fn();
    } catch (...) {
      job->error = std::current_exception();
    }
    finish(job);
  }
}

void LineWorker::finish(const Ticket& job) {
  {
    std::lock_guard lock(mutex_);
    current_.reset();
    if (job->cancelled) return;
    finished_.push_back(job);
  }
  QCoreApplication::postEvent(receiver_.get(), new QEvent(QEvent::User));
}

void LineWorker::deliverFinished() {
  // One job per event, the oldest first: a done that waits in a local loop
  // (a message box) lets the jobs after it complete meanwhile.
  Ticket job;
  {
    std::lock_guard lock(mutex_);
    if (finished_.empty()) return;
    job = finished_.front();
    finished_.pop_front();
  }
  if (!job->cancelled) job->done();
}

}  // namespace orvane::admin
