// The pictures of one run: each window is laid out at a fixed size, shown,
// drawn and grabbed into a PNG of the output folder. What could not be
// taken is noted as a failure, and the run goes on with the next window.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>

class QWidget;

namespace orvane::admin::screenshots {

class Album {
 public:
  explicit Album(QString folder) : folder_(std::move(folder)) {}

  // Resizes the window (a layout never lets it below its minimum; an invalid
  // size keeps the window's own), shows it when hidden, lets it draw and
  // writes the picture as `name`. False, with the failure noted, when the
  // window is not shown, draws nothing or cannot be written.
  bool take(QWidget& window, const QString& name, QSize size = {});

  void fail(const QString& why) { failures_ << why; }
  const QStringList& failures() const { return failures_; }
  // "name  width x height  bytes" of every picture written.
  const QStringList& written() const { return written_; }

 private:
  QString folder_;
  QStringList failures_;
  QStringList written_;
};

// Serves events until done() is true or the limit has passed; false on the
// limit.
bool serveUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
// Serves events for the duration (a window's poll timer ticks meanwhile).
void serveFor(std::chrono::milliseconds duration);

}  // namespace orvane::admin::screenshots
