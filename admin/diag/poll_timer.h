// The poll timer of a window that polls (Timer1): single-shot, started when
// the window is shown, stopped when it closes.
//
// A tick re-arms the timer when it is done, for the interval less the time
// the tick took but never under 20 ms, so the window keeps answering the
// keyboard and the mouse between ticks even with a slow or silent module.
// A window closed during a tick is not polled again.
#pragma once

#include <QObject>
#include <functional>

class QTimer;
class QWidget;

namespace orvane::admin {

class PollTimer : public QObject {
  Q_OBJECT

 public:
  // The timer runs `tick` for `window` and belongs to it.
  PollTimer(QWidget& window, std::function<void()> tick);

  // firstAtOnce runs the first tick as soon as the window is shown instead
  // of one interval later. An interval of 0 keeps the timer stopped.
  void setInterval(int intervalMs, bool firstAtOnce = false);
  int interval() const { return intervalMs_; }

  // From the window's show event; nothing happens while the timer runs.
  void start();
  void stop();
  bool active() const;

 private slots:
  void onTimer1Timeout();

 private:
  QWidget& window_;
  std::function<void()> tick_;
  QTimer* timer_;
  int intervalMs_ = 100;
  bool firstAtOnce_ = false;
};

}  // namespace orvane::admin
