// The desktop services of the screenshot program: a modal window is handed
// to the handler the tour registered for it instead of entering a modal loop,
// message boxes are recorded (the tour expects none), and file dialogs are
// answered from a queue.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <set>

#include "admin/core/ui_services.h"

namespace orvane::admin::screenshots {

class ShotUi : public UiServices {
 public:
  // Works the window (shows it, takes its picture, closes it) and returns
  // its result.
  using Handler = std::function<int(QDialog&)>;

  // The handler for the next opening of the window by objectName.
  void onOpen(const QString& windowName, Handler handler);
  bool opened(const QString& windowName) const { return opened_.count(windowName) != 0; }

  // Every message box shown, as "title: text".
  QStringList messages;
  // Windows that opened without a handler: the tour did not expect them.
  QStringList unexpectedWindows;
  // Paths the file dialogs return, in order; an empty queue cancels.
  std::deque<QString> fileAnswers;
  // Called at every yield to the event loop (the search in progress).
  std::function<void()> onYield;

  QMessageBox::StandardButton message(QWidget* parent, const QString& text, const QString& title,
                                      QMessageBox::StandardButtons buttons) override;
  int execModal(QDialog& dialog) override;
  QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
  QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override;
  bool printDialog(QWidget* parent, QPrinter& printer, const QString& title) override;
  void pause(std::chrono::milliseconds duration) override;
  void yield() override;
  void beep() override {}
  void setBusyCursor(bool) override {}

 private:
  QString nextFileAnswer();

  std::map<QString, Handler> handlers_;
  std::set<QString> opened_;
};

}  // namespace orvane::admin::screenshots
