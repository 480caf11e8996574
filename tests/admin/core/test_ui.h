// UI services for tests: records every message box, answers questions,
// runs modal windows through handlers instead of a real modal loop, and
// answers file and print dialogs from queues.
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "admin/core/ui_services.h"

namespace orvane::admin::testing {

struct ShownMessage {
  QString text;
  QString title;
  QMessageBox::StandardButtons buttons;
};

class TestUi : public UiServices {
 public:
  // What each message box shown so far said.
  std::vector<ShownMessage> messages;
  // Answers to message boxes, in order; the first button when empty.
  std::deque<QMessageBox::StandardButton> answers;

  // Handlers for modal windows by objectName. A handler works the window
  // (fills fields, clicks buttons) and returns its result. A window without
  // a handler is rejected at once, except the self-running ones, which are
  // shown and served until they close.
  std::map<QString, std::function<int(QDialog&)>> modalHandlers;
  std::set<QString> selfRunning{QStringLiteral("ScanForm")};
  std::vector<QString> modalsOpened;

  // Paths the file dialogs return, in order; an empty path or an empty
  // queue is a cancelled dialog.
  std::deque<QString> fileAnswers;
  std::vector<QString> fileDialogTitles;
  std::vector<QString> fileDialogFilters;

  // Prepares the printer (a PDF file) and returns true, or cancels.
  std::function<bool(QPrinter&)> printHandler;

  // Called at every yield to the event loop (to press Stop mid-scan).
  std::function<void()> onYield;
  // Called at every blocking pause (the settle pause after a baud change).
  std::function<void()> onPause;
  // Called at every message box, before it is answered.
  std::function<void()> onMessage;

  int beeps = 0;
  int yields = 0;
  std::chrono::milliseconds paused{0};

  QMessageBox::StandardButton message(QWidget* parent, const QString& text, const QString& title,
                                      QMessageBox::StandardButtons buttons) override;
  int execModal(QDialog& dialog) override;
  QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
  QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override;
  bool printDialog(QWidget* parent, QPrinter& printer, const QString& title) override;
  void pause(std::chrono::milliseconds duration) override;
  void yield() override;
  void beep() override { ++beeps; }
  void setBusyCursor(bool) override {}

  // The texts of the messages shown, in order.
  std::vector<QString> texts() const;
};

// Shows a dialog non-modally and serves events until it closes itself (at
// most the time limit); returns its result.
int runUntilClosed(QDialog& dialog, int limitMs = 30000);

}  // namespace orvane::admin::testing
