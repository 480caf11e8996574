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
#pragma once

#include <QDialog>
#include <string>
#include <string_view>
#include <vector>

#include "admin/core/link_task.h"
#include "admin/diag/monitor_columns.h"

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

 protected:
  void showEvent(QShowEvent* event) override;

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

  AdminContext& context_;
  int count_;  // ModuleCount at load
  std::vector<MonitorRow> rows_;
  QTableWidget* grid_;
  QLabel* linkStatus_;  // the serial layer's text while the line itself fails
  QPushButton* exitButton_;
  PollTimer* timer_;       // Timer1
  std::string linkError_;  // the first failure of the line in this pass
};

}  // namespace orvane::admin
