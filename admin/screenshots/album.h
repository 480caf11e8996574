// The pictures of one run: each window is laid out at a fixed size, shown,
// drawn and grabbed into a PNG of the output folder, and a second time with
// a dark palette into its folder "dark". A window whose texts cannot be read
// in either palette, or that could not be taken, is noted as a failure, and
// the run goes on with the next window.
#pragma once

#include <QPalette>
#include <QSize>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <optional>

class QWidget;

namespace orvane::admin::screenshots {

class Album {
 public:
  Album(QString folder, QPalette dark) : folder_(std::move(folder)), dark_(std::move(dark)) {}

  // Resizes the window (a layout never lets it below its minimum; an invalid
  // size keeps the window's own), shows it when hidden, lets it draw and
  // writes the picture as `name`, and as dark/`name` in the dark palette.
  // False, with the failure noted, when the window is not shown, draws
  // nothing, cannot be written or has a text that cannot be read.
  bool take(QWidget& window, const QString& name, QSize size = {});

  void fail(const QString& why) { failures_ << why; }
  const QStringList& failures() const { return failures_; }
  // "name  width x height  bytes" of every picture of the guide written (the
  // dark ones are for the checks).
  const QStringList& written() const { return written_; }

  static constexpr const char* kDarkFolder = "dark";

 private:
  bool check(QWidget& window, const QString& name);
  // The picture as it is, written to the path, with a failure noted for every
  // text that cannot be read; its size, or nothing when it was not written.
  std::optional<QSize> write(QWidget& window, const QString& name, const QString& path);

  QString folder_;
  QPalette dark_;
  QStringList failures_;
  QStringList written_;
};

// Serves events until done() is true or the limit has passed; false on the
// limit.
bool serveUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
// Serves events for the duration (a window's poll timer ticks meanwhile).
void serveFor(std::chrono::milliseconds duration);

}  // namespace orvane::admin::screenshots
