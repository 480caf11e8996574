// The line trace brought to the GUI thread: while a TraceFeed lives, every
// trace event of every line of the program (made on the line worker's
// thread, or on the GUI thread when the worker runs inline) is handed to its
// callback on the thread the feed was made on, in batches at most every
// kBatchInterval, in the order the events happened: a view that redraws
// once per batch keeps up with a busy line at little cost. The window that shows the trace holds a
// feed and never sees a thread or a lock.
//
// The trace costs the line one test of a flag while no feed (and no trace
// file) is there: make the feed when the window opens, drop it when it
// closes.
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <mutex>
#include <vector>

#include "serial/line_trace.h"

namespace orvane::admin {

class TraceFeed : public QObject {
 public:
  using Deliver = std::function<void(std::vector<serial::TraceEvent>)>;
  static constexpr std::chrono::milliseconds kBatchInterval{250};

  explicit TraceFeed(Deliver deliver, QObject* parent = nullptr);
  // No call of the callback follows, and no event is waiting any more.
  ~TraceFeed() override;

 private:
  // On the line's thread: keeps the event and, for the first of a batch,
  // asks the feed's thread to take them.
  void take(const serial::TraceEvent& event);
  // On the feed's thread: the first event of a batch starts the wait.
  void batchStarted();
  void deliverPending();

  Deliver deliver_;
  QTimer batch_;
  std::mutex mutex_;
  std::vector<serial::TraceEvent> pending_;
  serial::TraceSubscription subscription_;
};

}  // namespace orvane::admin
