#include "tests/admin/core/test_ui.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <thread>

namespace orvane::admin::testing {

QMessageBox::StandardButton TestUi::message(QWidget*, const QString& text, const QString& title,
                                            QMessageBox::StandardButtons buttons) {
  messages.push_back({text, title, buttons});
  if (onMessage) onMessage();
  if (!answers.empty()) {
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  // A Retry/Close box nobody answered closes: a test whose line keeps
  // failing must not retry for ever.
  for (auto first : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Close, QMessageBox::Retry})
    if (buttons.testFlag(first)) return first;
  return QMessageBox::NoButton;
}

int TestUi::execModal(QDialog& dialog) {
  modalsOpened.push_back(dialog.objectName());
  const auto handler = modalHandlers.find(dialog.objectName());
  if (handler != modalHandlers.end()) return handler->second(dialog);
  if (selfRunning.count(dialog.objectName())) return runUntilClosed(dialog);
  dialog.reject();
  return QDialog::Rejected;
}

namespace {

QString nextAnswer(std::deque<QString>& queue) {
  if (queue.empty()) return {};
  QString answer = queue.front();
  queue.pop_front();
  return answer;
}

}  // namespace

QString TestUi::openFileName(QWidget*, const QString& title, const QString& filter) {
  fileDialogTitles.push_back(title);
  fileDialogFilters.push_back(filter);
  return nextAnswer(fileAnswers);
}

QString TestUi::saveFileName(QWidget*, const QString& title, const QString& filter) {
  fileDialogTitles.push_back(title);
  fileDialogFilters.push_back(filter);
  return nextAnswer(fileAnswers);
}

bool TestUi::printDialog(QWidget*, QPrinter& printer, const QString& title) {
  fileDialogTitles.push_back(title);
  return printHandler ? printHandler(printer) : false;
}

void TestUi::pause(std::chrono::milliseconds duration) {
  paused += duration;
  std::this_thread::sleep_for(duration);
  if (onPause) onPause();
}

void TestUi::yield() {
  ++yields;
  QCoreApplication::processEvents();
  if (onYield) onYield();
}

std::vector<QString> TestUi::texts() const {
  std::vector<QString> result;
  for (const auto& shown : messages) result.push_back(shown.text);
  return result;
}

int runUntilClosed(QDialog& dialog, int limitMs) {
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
  dialog.show();
  if (dialog.isVisible()) loop.exec();
  if (dialog.isVisible()) dialog.reject();
  return dialog.result();
}

}  // namespace orvane::admin::testing
