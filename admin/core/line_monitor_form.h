// The Line Monitor: the line trace of every line of the program, live, as
// it goes over the wire (the search, the settle pauses and every window's
// exchanges included). It keeps the last 10,000 lines, can be paused,
// cleared, filtered to one module address and saved to a file.
//
// A window of its own beside the others: it has no parent, so the modal
// windows of the utility (which are modal to the window that opened them)
// leave it usable. It takes the trace only while it is open.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "admin/core/line_monitor_log.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane::admin {

class AdminContext;
class TraceFeed;
class TraceView;

class LineMonitorForm : public QWidget {
  Q_OBJECT

 public:
  explicit LineMonitorForm(AdminContext& context);
  ~LineMonitorForm() override;

  // The lines kept, and those the filter shows (what Save As writes).
  const LineMonitorLog& log() const { return log_; }
  std::vector<std::string> shownLines() const { return log_.shown(filter_); }

 private slots:
  void onPauseBtnToggled(bool paused);
  void onClearBtnClicked();
  void onSaveAsBtnClicked();
  void onAddressFilterTextChanged(const QString& text);

 private:
  void take(std::vector<serial::TraceEvent> events);
  // Shows the lines the filter lets through again, from the log.
  void redraw();
  void showCount();

  AdminContext& context_;
  LineMonitorLog log_;
  std::optional<int> filter_;
  bool paused_ = false;
  TraceView* traffic_;
  QLineEdit* addressFilter_;
  QPushButton* pauseButton_;
  QLabel* lineCount_;
  std::unique_ptr<TraceFeed> feed_;
};

}  // namespace orvane::admin
