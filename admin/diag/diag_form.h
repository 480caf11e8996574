// What every diagnostic window shares: the module's name, address and
// firmware revision, the Exit button, the exchanges with the entry's
// effective link parameters, a line that shows a failure of the serial line
// itself, and the poll timer (PollTimer).
//
// The timer starts when the window is shown and stops when it closes (Exit,
// Escape or the window's close button; nothing is sent at close). A tick is
// a sequence of exchanges that the window shows as each reply comes in; it
// never opens a message box. Closing the window ends the tick where it
// stands: nothing more goes out for it.
#pragma once

#include <QDialog>
#include <initializer_list>
#include <string>
#include <string_view>

#include "admin/core/link_task.h"

class QLabel;
class QLayout;
class QPushButton;

namespace orvane::admin {

class AdminContext;
class PollTimer;
struct ModuleEntry;

// The line that shows a failure of the serial line itself (LinkStatus).
QLabel* linkStatusLabel(QWidget* parent);
// ExitBtn: closes the window as Escape does; not the default button.
QPushButton* exitButtonOf(QDialog& window);
// SaveBtn "Save…", not the default button either.
QPushButton* saveButtonOf(QWidget& window);
// The buttons side by side, centred: the row of Exit and its neighbours.
QLayout* buttonRow(std::initializer_list<QWidget*> buttons);

class DiagForm : public QDialog {
  Q_OBJECT

 public:
  DiagForm(AdminContext& context, const QString& name, const QString& caption, QWidget* parent);

  // One tick now, run to its end as the timer runs it (tests call it
  // directly).
  void pollOnce();
  bool polling() const;

  void done(int result) override;

 protected:
  // One poll of the module; a window of outputs only polls nothing.
  virtual LinkTask<void> tick() { co_return; }

  ModuleEntry& entry() const;
  int entryIndex() const { return index_; }
  AdminContext& context() const { return context_; }

  // The rows "Module:", "Address:" and "F/W rev.:" (the last label named
  // revLabelName), as one widget for the window's layout.
  QWidget* identityRows(const QString& revLabelName);
  // "$AAF": the revision from position 3 of a "!" reply; empty otherwise.
  void readFirmware();
  // Asks where to save the readings (a CSV file) and writes them whole, so
  // that an old file is replaced only by a complete one; a file that cannot
  // be written is named in a message box and left as it is.
  void saveReadings(const std::string& csv);

  // lead + effective address + body with the entry's effective link
  // parameters; returns LastExchangeOK. In a tick, `co_await
  // exchangeAsync(...)`: the GUI thread is free while the line works.
  bool exchange(char lead, std::string_view body, int timeoutMs);
  LinkTask<bool> exchangeAsync(char lead, std::string body, int timeoutMs);
  const std::string& reply() const;
  // ReadAnalogValue of the entry's channel, its failure of the line noted as
  // an exchange's is.
  std::string readAnalogValue(int channel);
  LinkTask<std::string> readAnalogValueAsync(int channel);
  // The same outside a tick (an output the user set): a failure of the
  // serial line shows on the window's line as after a tick.
  bool exchangeNow(char lead, std::string_view body, int timeoutMs);

  // The interval of the poll timer; firstAtOnce runs the first tick as soon
  // as the window is shown instead of one interval later. An interval of 0
  // keeps the timer stopped: the window only writes outputs.
  void setPollInterval(int intervalMs, bool firstAtOnce = false);

  QLabel* moduleName_;
  QLabel* addr_;
  QLabel* rev_;
  QLabel* linkStatus_;  // the serial layer's text while the line itself fails
  QPushButton* exitButton_;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  LinkTask<void> poll();
  void showLinkStatus();
  void noteLinkError();

  AdminContext& context_;
  int index_;
  PollTimer* timer_;       // Timer1
  std::string linkError_;  // the first failure of the line in this tick or click
};

}  // namespace orvane::admin
