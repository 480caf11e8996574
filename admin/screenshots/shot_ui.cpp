#include "admin/screenshots/shot_ui.h"

#include <QCoreApplication>
#include <thread>

namespace orvane::admin::screenshots {

void ShotUi::onOpen(const QString& windowName, Handler handler) {
  handlers_[windowName] = std::move(handler);
  opened_.erase(windowName);
}

QMessageBox::StandardButton ShotUi::message(QWidget*, const QString& text, const QString& title,
                                            QMessageBox::StandardButtons buttons) {
  messages << title + QStringLiteral(": ") + text;
  for (auto first : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Retry})
    if (buttons.testFlag(first)) return first;
  return QMessageBox::NoButton;
}

int ShotUi::execModal(QDialog& dialog) {
  const QString name = dialog.objectName();
  const auto found = handlers_.find(name);
  if (found == handlers_.end()) {
    unexpectedWindows << name;
    dialog.reject();
    return QDialog::Rejected;
  }
  // A handler serves one opening; the window may open it again for another.
  const Handler handler = std::move(found->second);
  handlers_.erase(found);
  opened_.insert(name);
  return handler(dialog);
}

QString ShotUi::nextFileAnswer() {
  if (fileAnswers.empty()) return {};
  QString answer = fileAnswers.front();
  fileAnswers.pop_front();
  return answer;
}

QString ShotUi::openFileName(QWidget*, const QString&, const QString&) { return nextFileAnswer(); }

QString ShotUi::saveFileName(QWidget*, const QString&, const QString&) { return nextFileAnswer(); }

bool ShotUi::printDialog(QWidget*, QPrinter&, const QString&) { return false; }

void ShotUi::pause(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

void ShotUi::yield() {
  QCoreApplication::processEvents();
  if (onYield) onYield();
}

}  // namespace orvane::admin::screenshots
