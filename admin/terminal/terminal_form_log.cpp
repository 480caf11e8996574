// The command log of TerminalForm (file 2).
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>

#include "admin/core/admin_context.h"
#include "admin/terminal/terminal_form.h"

namespace orvane::admin {

namespace {

const QString kAllFiles = QStringLiteral("All Files (*)");

std::filesystem::path localPath(const QString& name) {
  return std::filesystem::path(QFile::encodeName(name).toStdString());
}

}  // namespace

void TerminalForm::onLogDialogBtnClicked() {
  logFileName_->setText(context_.ui().saveFileName(this, QStringLiteral("Log File"), kAllFiles));
  if (!logToFile_->isChecked()) return;
  // The old log ends here even when no new name was chosen, so that no
  // command goes on into a file the window no longer names.
  log_.close();
  if (!logFileName_->text().trimmed().isEmpty()) createLog();
}

void TerminalForm::onLogToFileClicked() {
  log_.close();
  if (logToFile_->isChecked() && !logFileName_->text().trimmed().isEmpty()) createLog();
}

void TerminalForm::createLog() {
  const std::string cause = log_.create(localPath(logFileName_->text()));
  if (!cause.empty()) stopLogging(QStringLiteral("Cannot create the log file"), cause);
}

void TerminalForm::stopLogging(const QString& what, const std::string& cause) {
  log_.close();
  logToFile_->setChecked(false);
  context_.ui().message(
      this,
      QStringLiteral("%1 %2: %3.").arg(what, logFileName_->text(), QString::fromLocal8Bit(cause)),
      kErrorTitle);
}

void TerminalForm::logLine(const std::string& command) {
  if (!logToFile_->isChecked() || logFileName_->text().trimmed().isEmpty()) return;
  const std::string cause = log_.writeLine(command);
  if (!cause.empty()) stopLogging(QStringLiteral("Cannot write the log file"), cause);
}

}  // namespace orvane::admin
