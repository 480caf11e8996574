// The terminal window: raw commands typed to any module address, their
// replies on a display of the last twelve lines, a log of the commands sent,
// batch files stepped or run, and one command repeated. Every exchange it
// starts, typed, stepped, run or repeated, goes through sendCommand.
#pragma once

#include <QDialog>
#include <string>

#include "admin/terminal/batch_file.h"
#include "admin/terminal/command_history.h"
#include "admin/terminal/command_log.h"
#include "admin/terminal/display_ring.h"
#include "admin/terminal/terminal_addressing.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane::admin {

class AdminContext;
class TerminalDisplay;

class TerminalForm : public QDialog {
  Q_OBJECT

 public:
  explicit TerminalForm(AdminContext& context, QWidget* parent = nullptr);

  // Exit, Escape and the close box: both files are closed, and a Run or a
  // repeat in progress ends after its current line.
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void onCmdTextEnter();
  void onLogDialogBtnClicked();
  void onLogToFileClicked();
  void onBatchDialogBtnClicked();
  void onRunBatchBtnClicked();
  void onStepBatchBtnClicked();
  void onStopBatchBtnClicked();
  void onDisplayBatchBtnClicked();
  void onGoTopBtnClicked();
  void onRepeatBtnClicked();
  void onRepeatCmdBtnClicked();

 private:
  void buildControls();
  QGroupBox* buildPortFrame();
  QGroupBox* buildLogFrame();
  QGroupBox* buildBatchFrame();
  QPushButton* addButton(const QString& name, const QString& caption);
  void load();

  // Log line, terminal exchange and show exchange of one command. False when
  // the serial line itself failed (the user has been told); a missing or
  // refused reply is a normal exchange.
  bool sendCommand(const std::string& command, AddressingRule rule);
  void logLine(const std::string& command);
  void showExchange(const std::string& command, const std::string& reply);

  // (Re)creates the log file; on failure tells the user why and unchecks
  // LogToFile.
  void createLog();
  void stopLogging(const QString& what, const std::string& cause);

  // Opens BatchFileName again from its first line as file 1; tells the user
  // when that fails.
  bool reopenBatchFile();
  void refreshBatchButtons();

  AdminContext& context_;
  TerminalDisplay* terminal_ = nullptr;
  QLineEdit* cmdText_ = nullptr;
  QCheckBox* checkSumEnable_ = nullptr;
  QLineEdit* logFileName_ = nullptr;
  QCheckBox* logToFile_ = nullptr;
  QLineEdit* batchFileName_ = nullptr;
  QPushButton* runBatchBtn_ = nullptr;
  QPushButton* stepBatchBtn_ = nullptr;
  QPushButton* stopBatchBtn_ = nullptr;
  QPushButton* displayBatchBtn_ = nullptr;
  QPushButton* goTopBtn_ = nullptr;
  QPushButton* repeatBtn_ = nullptr;

  DisplayRing ring_;
  CommandHistory history_;
  CommandLog log_;     // file 2
  BatchFile batch_;    // file 1, where Step reads
  int batchLine_ = 1;  // 1 + lines consumed by Step since the file was opened
  bool stopBatch_ = false;
  bool running_ = false;  // a Run is in progress
  bool stepAtEnd_ = false;
  bool goTopEnabled_ = false;
  bool closed_ = false;
};

}  // namespace orvane::admin
