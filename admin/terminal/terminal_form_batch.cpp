// Batch files and repeated commands of TerminalForm.
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include "admin/core/admin_context.h"
#include "admin/terminal/disp_batch_form.h"
#include "admin/terminal/repeat_cmd_form.h"
#include "admin/terminal/repeat_form.h"
#include "admin/terminal/terminal_form.h"

namespace orvane::admin {

namespace {

constexpr std::chrono::milliseconds kLinePause{100};
const QString kOpenError = QStringLiteral("Error opening file.");

std::filesystem::path localPath(const QString& name) {
  return std::filesystem::path(QFile::encodeName(name).toStdString());
}

}  // namespace

void TerminalForm::refreshBatchButtons() {
  const bool idle = batch_.isOpen() && !running_;
  runBatchBtn_->setEnabled(idle && !stepAtEnd_);
  stepBatchBtn_->setEnabled(idle && !stepAtEnd_);
  displayBatchBtn_->setEnabled(idle);
  repeatBtn_->setEnabled(idle);
  goTopBtn_->setEnabled(goTopEnabled_ && !running_);
  stopBatchBtn_->setEnabled(running_);
}

bool TerminalForm::reopenBatchFile() {
  batchLine_ = 1;
  stepAtEnd_ = false;
  const bool opened = batch_.open(localPath(batchFileName_->text()));
  if (!opened) context_.ui().message(this, kOpenError, kErrorTitle);
  return opened;
}

void TerminalForm::onBatchDialogBtnClicked() {
  batch_.close();
  goTopEnabled_ = false;
  stepAtEnd_ = false;
  refreshBatchButtons();
  batchFileName_->setText(context_.ui().openFileName(this, QStringLiteral("Batch File"),
                                                     QStringLiteral("All Files (*)")));
  if (!batchFileName_->text().trimmed().isEmpty()) reopenBatchFile();
  refreshBatchButtons();
}

void TerminalForm::onStepBatchBtnClicked() {
  if (!batch_.atEnd()) {
    const std::string command = batch_.readLine();
    ++batchLine_;
    sendCommand(command, AddressingRule::Batch);
  }
  if (closed_) return;
  stepAtEnd_ = batch_.atEnd();
  goTopEnabled_ = true;
  refreshBatchButtons();
}

void TerminalForm::onGoTopBtnClicked() {
  goTopEnabled_ = false;
  reopenBatchFile();
  refreshBatchButtons();
}

void TerminalForm::onRunBatchBtnClicked() {
  // The run reads its own copy of the file, from its first line whatever
  // Step has consumed: choosing another batch file meanwhile does not pull
  // the lines from under it.
  BatchFile run;
  if (!run.open(localPath(batchFileName_->text()))) {
    context_.ui().message(this, kOpenError, kErrorTitle);
    return;
  }
  running_ = true;
  stopBatch_ = false;
  refreshBatchButtons();
  for (int pass = 1; pass <= context_.BatchRepeatCount && !stopBatch_; ++pass) {
    while (!run.atEnd() && !stopBatch_) {
      // A serial failure would fail every further line in the same way.
      if (!sendCommand(run.readLine(), AddressingRule::Batch)) stopBatch_ = true;
      context_.ui().pause(kLinePause);
      context_.ui().yield();
    }
    run.rewind();
    if (!stopBatch_) context_.ui().pause(kLinePause);
  }
  running_ = false;
  if (closed_) return;
  // Every Run ends with file 1 at its first line.
  if (!batchFileName_->text().trimmed().isEmpty() && reopenBatchFile()) {
    refreshBatchButtons();
    return;
  }
  batch_.close();
  refreshBatchButtons();
}

void TerminalForm::onStopBatchBtnClicked() { stopBatch_ = true; }

void TerminalForm::onDisplayBatchBtnClicked() {
  const int line = batchLine_;
  const bool atEnd = stepAtEnd_;
  if (reopenBatchFile()) {
    {
      DispBatchForm content(batch_, this);
      context_.ui().execModal(content);
    }
    if (closed_) return;
    // Step goes on where it was.
    if (reopenBatchFile()) {
      batch_.skipLines(line - 1);
      batchLine_ = line;
      stepAtEnd_ = atEnd;
    }
  }
  refreshBatchButtons();
}

void TerminalForm::onRepeatBtnClicked() {
  RepeatForm repeat(context_, this);
  context_.ui().execModal(repeat);
}

void TerminalForm::onRepeatCmdBtnClicked() {
  {
    RepeatCmdForm form(context_, this);
    context_.ui().execModal(form);
  }
  const int count = context_.RepeatCommandCount;
  const std::string command = context_.RepeatCommand;
  for (int i = 0; i < count && !closed_; ++i) {
    if (!sendCommand(command, AddressingRule::Batch)) break;
    context_.ui().pause(kLinePause);
    context_.ui().yield();
  }
}

}  // namespace orvane::admin
