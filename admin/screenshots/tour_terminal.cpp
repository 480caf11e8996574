// The terminal window of the tour, with its log, a batch file and the
// dialogs it opens.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <fstream>

#include "admin/core/orvane_form.h"
#include "admin/screenshots/album.h"
#include "admin/screenshots/shot_ui.h"
#include "admin/screenshots/tour.h"

namespace orvane::admin::screenshots {

namespace {

// In the current directory, the program's temporary one: the fields show
// the names as they are, without a temporary folder's random name.
const QString kLogFile = QStringLiteral("terminal.log");
const QString kBatchFile = QStringLiteral("check-network.txt");
// Addresses of the demo network: 01 the 7213, 04 the 7226, 09 the 7451.
const char* const kBatchLines[] = {"$04M", "#040", "#041", "$096"};
const char* const kTypedCommands[] = {"$012", "$01M", "#01"};
constexpr int kSteppedLines = 2;

void type(QDialog& window, const char* command) {
  auto* entry = window.findChild<QLineEdit*>(QStringLiteral("CmdText"));
  if (!entry) return;
  entry->setText(QString::fromLatin1(command));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(entry, &enter);
}

bool writeBatchFile() {
  std::ofstream file(kBatchFile.toStdString(), std::ios::binary | std::ios::trunc);
  for (const char* line : kBatchLines) file << line << "\r\n";
  return static_cast<bool>(file.flush());
}

void setText(QDialog& window, const char* name, const QString& text) {
  if (auto* field = window.findChild<QLineEdit*>(QString::fromLatin1(name))) field->setText(text);
}

}  // namespace

void Tour::terminal() {
  if (!select("7213")) return;
  if (!writeBatchFile()) {
    album_.fail(QStringLiteral("terminal.png: the batch file cannot be written"));
    return;
  }
  open(
      QStringLiteral("TerminalForm"), [this](QDialog& window) { return terminalWindow(window); },
      [this] { clickButton(form_, "TerminalBtn"); });
}

int Tour::terminalWindow(QDialog& window) {
  window.show();
  ui_.fileAnswers.push_back(kLogFile);
  clickButton(window, "LogDialogBtn");
  clickButton(window, "LogToFile");
  ui_.fileAnswers.push_back(kBatchFile);
  clickButton(window, "BatchDialogBtn");
  for (const char* command : kTypedCommands) type(window, command);
  for (int line = 0; line < kSteppedLines; ++line)
    if (!clickButton(window, "StepBatchBtn"))
      album_.fail(QStringLiteral("terminal.png: the batch file cannot be stepped"));
  open(
      QStringLiteral("DispBatchForm"),
      [this](QDialog& dialog) { return takeAndClose(dialog, QStringLiteral("batch.png")); },
      [&window] { clickButton(window, "DisplayBatchBtn"); });
  open(
      QStringLiteral("RepeatCmdForm"),
      [this](QDialog& dialog) {
        setText(dialog, "RepeatCmd", QStringLiteral("#01"));
        setText(dialog, "RepeatTimes", QStringLiteral("10"));
        // Cancel: the picture is of the question, the command is not repeated.
        return takeAndClose(dialog, QStringLiteral("repeat-command.png"));
      },
      [&window] { clickButton(window, "RepeatCmdBtn"); });
  album_.take(window, QStringLiteral("terminal.png"));
  if (!clickButton(window, "ExitBtn")) window.reject();
  return window.result();
}

}  // namespace orvane::admin::screenshots
