// The poll timer of a window that polls (Timer1): single-shot, started when
// the window is shown, stopped when it closes.
//
// A tick is a sequence of exchanges (a LinkTask). The next tick is started
// when the last reply of one is in, the interval after the tick began (at
// once when the tick took longer). With the line worker threaded the GUI
// thread is free while a tick waits for the line, so there is no pause to
// leave between ticks; with the worker inline (tests) a tick holds the
// thread, and at least 20 ms are left for the user's events.
// Stopping the timer (the window closes) destroys the tick in progress: the
// exchange on the wire ends unheard, nothing else goes out.
#pragma once

#include <QObject>
#include <chrono>
#include <functional>

#include "admin/core/link_task.h"

class QTimer;
class QWidget;

namespace orvane::admin {

class LineWorker;

class PollTimer : public QObject {
  Q_OBJECT

 public:
  // The timer runs `tick` for `window` and belongs to it.
  PollTimer(QWidget& window, LineWorker& line, std::function<LinkTask<void>()> tick);

  // firstAtOnce runs the first tick as soon as the window is shown instead
  // of one interval later. An interval of 0 keeps the timer stopped.
  void setInterval(int intervalMs, bool firstAtOnce = false);
  int interval() const { return intervalMs_; }

  // From the window's show event; nothing happens while the timer runs.
  void start();
  void stop();
  // True while a tick is waited for or runs.
  bool active() const;

 private slots:
  void onTimer1Timeout();

 private:
  void onTickDone();

  QWidget& window_;
  LineWorker& line_;
  std::function<LinkTask<void>()> tick_;
  QTimer* timer_;
  LinkTask<void> running_;
  std::chrono::steady_clock::time_point tickStarted_;
  int intervalMs_ = 100;
  bool firstAtOnce_ = false;
};

}  // namespace orvane::admin
