// The monitor: every module of the list in one grid, one row per module,
// its live columns refreshed by one pass over all modules per tick. Each
// module is polled with its own effective link parameters.
//
// The headings are the grid's header, so entry i is row i of the grid's
// body. The grid is laid out once at load: a new search needs the window
// opened again. The first pass runs as soon as the window is shown; a pass
// is a sequence of exchanges (a LinkTask) whose rows are shown as their
// replies come in, it never opens a message box, and a failure of the
// serial line itself shows on a line of its own. Closing the window ends the
// pass where it stands.
//
// Record… writes one row per module per pass (monitor_record.h) to a file
// the user chooses, until Stop recording or the window closes. Each pass
// that ends goes into the file with one write, so a crash loses at most the
// pass it cut short; a pass cut short by Stop or by closing the window is not
// recorded. A record of the monitor chosen again grows (its header once); a
// file that holds anything else is replaced only when the user agrees. A
// file that fails during a pass stops the recording with one message box,
// shown after the pass.
#pragma once

#include <QDialog>
#include <string>
#include <string_view>
#include <vector>

#include "admin/core/link_task.h"
#include "admin/diag/monitor_columns.h"
#include "admin/diag/record_file.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace orvane::admin {

class AdminContext;
class PollTimer;

class MonitorForm : public QDialog {
  Q_OBJECT

 public:
  MonitorForm(AdminContext& context, QWidget* parent = nullptr);

  // One pass now, as the timer runs it (tests call it directly).
  void pollOnce();
  bool polling() const;
  int pollInterval() const;

  void done(int result) override;
  bool recording() const { return record_.isOpen(); }

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void onRecordBtnClicked();

 private:
  void buildControls();
  void load();
  LinkTask<void> pollPass();
  LinkTask<void> pollEntry(int i);
  LinkTask<void> pollMultiFunction(int i);
  LinkTask<void> pollAnalogOutput(int i);
  LinkTask<void> pollCounter(int i);
  // lead + effective address + body to entry i with its effective link
  // parameters and the reply time-out; returns LastExchangeOK.
  LinkTask<bool> exchange(int i, char lead, std::string body);
  const std::string& reply() const;
  void noteLinkError();
  void showRow(int i);
  std::string recordRow(int i) const;
  bool openRecord(const QString& name);
  std::string startRecord(RecordFile::Content content);
  void writeRecord(const std::string& rows);
  void stopRecording();

  AdminContext& context_;
  int count_;  // ModuleCount at load
  std::vector<MonitorRow> rows_;
  std::vector<MonitorValue> values_;  // this pass's readings, for the record
  QTableWidget* grid_;
  QLabel* linkStatus_;  // the serial layer's text while the line itself fails
  QPushButton* exitButton_;
  QPushButton* recordButton_;
  PollTimer* timer_;       // Timer1
  std::string linkError_;  // the first failure of the line in this pass
  RecordFile record_;
  QString recordName_;
  int recordSession_ = 0;  // counts the recordings started, so that a pass
                           // writes only into the one it began with
};

}  // namespace orvane::admin
