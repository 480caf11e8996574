// The line worker: the one place that touches the serial lines of orvadmin.
// docs/line-worker.md tells the whole story for the writer of a window.
//
// Every line operation (open, close, baud change and its settle pause,
// write, read, reopening a line whose adapter was pulled) runs as a job of
// the worker, one after another in the order they were handed over, so two
// exchanges never overlap on the wire. The worker has two modes:
//
// - inline (the start of every AdminContext, and the mode of most tests): a
//   job runs at once on the calling thread, and a pause is the UI's blocking
//   pause, exactly as a single-threaded program would do it;
// - threaded (orvadmin itself, after startThread()): one thread owns the
//   lines of every port and runs the jobs. The GUI thread hands jobs over
//   and either waits for one in a local event loop that serves everything
//   but user input (the window repaints, timers run, but it is never
//   re-entered by a click), or goes on and takes the result later as a
//   queued call (a polling window, the search).
//
// Ownership, while the worker is threaded:
// - the worker thread alone touches the lines (ComPorts) and PortBaudCode;
//   ComPorts called from the GUI thread hands itself over as a waiting job;
// - baudSettlePause, reopenInterval and the config directory are set before
//   the first exchange and only read by the worker afterwards;
// - everything else of the AdminContext (ModuleList, LastCommand, LastReply,
//   ...) and every widget belong to the GUI thread: a job never touches
//   them. What a job needs is copied into it when it is handed over, and
//   what it finds reaches the GUI thread only through its completion.
//
// Threading contract: startThread(), call(), post(), cancel() and
// interruptPause() are called on the GUI thread (call() also inside a job,
// where it simply runs); pause() and checkpoint() inside a job; every done
// callback runs on the GUI thread. The worker's mutex guards its queue and
// flags, nothing else: windows never lock anything and start no thread.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

class QEventLoop;
class QObject;

namespace orvane::admin {

class UiServices;

// A pause on the line was cut short (a window closed, the search was
// stopped): the job gives up before anything more goes out.
class LineJobCancelled : public std::runtime_error {
 public:
  LineJobCancelled() : std::runtime_error("cancelled") {}
};

class LineWorker {
 public:
  struct Job;
  using Ticket = std::shared_ptr<Job>;

  explicit LineWorker(UiServices& ui);
  ~LineWorker();
  LineWorker(const LineWorker&) = delete;
  LineWorker& operator=(const LineWorker&) = delete;

  // From now on jobs run on a thread of their own. Needs a Qt application
  // on the calling (GUI) thread, which takes the completions.
  void startThread();
  bool threaded() const { return thread_.joinable(); }
  // True on the thread that runs the jobs (any thread while inline).
  bool onLineThread() const;

  // Runs fn where the lines live and returns when it is done; an exception
  // of fn is thrown here. From the GUI thread of a threaded worker it waits
  // in a LocalWait; on the line thread itself (a job that calls another line
  // function) and inline fn simply runs.
  void call(const std::function<void()>& fn);

  template <typename T>
  T callFor(const std::function<T()>& fn) {
    T result{};
    call([&] { result = fn(); });
    return result;
  }

  // Threaded only (inline nothing would ever run it): fn runs on the line
  // thread after every job handed over before it; done then runs on the GUI
  // thread, unless the job was cancelled meanwhile. fn may outlive whoever
  // posted it: it holds no reference to a window, only to the context and
  // to a result it shares with the waiter.
  Ticket post(std::function<void()> fn, std::function<void()> done);

  // The job never starts if it has not yet; a job running now gives up at
  // its next pause or before its next frame (a frame on the wire is not
  // taken back), and its done is not called.
  void cancel(const Ticket& ticket);

  // Cuts short the pauses of the jobs handed over so far (the search's
  // Stop): the one running now gives up, and so does one still waiting its
  // turn, which a Stop in the moment between handing a job over and its
  // start would otherwise miss. Jobs handed over afterwards run as usual.
  void interruptPause();

  // A pause on the line (the settle pause after a baud change, a reply
  // delay). Inline it is the UI's blocking pause; on the line thread it
  // waits, and throws LineJobCancelled when the job was cancelled or the
  // pause interrupted.
  void pause(std::chrono::milliseconds duration);

  // On the line thread, before a frame goes out: throws LineJobCancelled when
  // the job was cancelled or interrupted, so that nothing more is sent for a
  // window that closed or a search that stopped.
  void checkpoint();

 private:
  void run();
  Ticket take();
  void finish(const Ticket& job);
  void deliverFinished();

  UiServices& ui_;
  // On the GUI thread: one event per finished job calls its done. The event
  // carries nothing; the job itself goes over in finished_, under the mutex,
  // so that its results are seen on the GUI thread as they were written.
  std::unique_ptr<QObject> receiver_;
  std::thread thread_;
  std::thread::id lineThread_;
  std::mutex mutex_;
  std::condition_variable wake_;  // a job came, a pause was cut short, the end
  std::deque<Ticket> queue_;
  std::deque<Ticket> finished_;  // done, their done not yet called
  Ticket current_;
  bool stopping_ = false;
};

// A wait of the GUI thread for the line: it serves every event but user
// input (the window repaints, timers run) until finish() is called. A click
// or a key pressed meanwhile is served after the wait, so the sequence that
// waits is never re-entered; other windows' ticks may run and finish during
// it.
class LocalWait {
 public:
  LocalWait();
  ~LocalWait();
  LocalWait(const LocalWait&) = delete;
  LocalWait& operator=(const LocalWait&) = delete;
  void finish();
  // Returns at once when finish() was called before.
  void exec();

 private:
  std::unique_ptr<QEventLoop> loop_;
  bool finished_ = false;
};

struct LineWorker::Job {
  std::function<void()> fn;
  std::function<void()> done;
  std::exception_ptr error;
  std::atomic<bool> cancelled{false};
  bool interrupted = false;  // under the worker's mutex
};

}  // namespace orvane::admin
