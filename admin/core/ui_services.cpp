#include "admin/core/ui_services.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTimer>

namespace orvane::admin {

namespace {

// A window opened by another is modal to that window and its parents only,
// so that a window of its own (the Line Monitor) stays usable beside it. A
// window without a parent blocks the whole program, as before.
void blockOnlyItsParents(QDialog& dialog) {
  if (dialog.parentWidget()) dialog.setWindowModality(Qt::WindowModal);
}

}  // namespace

QMessageBox::StandardButton DesktopUi::message(QWidget* parent, const QString& text,
                                               const QString& title,
                                               QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::NoIcon, title, text, buttons, parent);
  // The first button of a question has the focus, as the user expects.
  for (auto first : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Retry}) {
    if (buttons.testFlag(first)) {
      box.setDefaultButton(first);
      break;
    }
  }
  blockOnlyItsParents(box);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

int DesktopUi::execModal(QDialog& dialog) {
  centreOnScreen(dialog);
  blockOnlyItsParents(dialog);
  return dialog.exec();
}

QString DesktopUi::openFileName(QWidget* parent, const QString& title, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString DesktopUi::saveFileName(QWidget* parent, const QString& title, const QString& filter) {
  return QFileDialog::getSaveFileName(parent, title, QString(), filter);
}

bool DesktopUi::printDialog(QWidget* parent, QPrinter& printer, const QString& title) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(title);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  return dialog.exec() == QDialog::Accepted;
}

void DesktopUi::pause(std::chrono::milliseconds duration) {
  // The window repaints meanwhile but takes no input: the sequence that
  // pauses is never re-entered.
  QEventLoop loop;
  QTimer::singleShot(duration, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void DesktopUi::yield() { QCoreApplication::processEvents(); }

void DesktopUi::beep() { QApplication::beep(); }

void DesktopUi::setBusyCursor(bool busy) {
  if (busy)
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QGuiApplication::restoreOverrideCursor();
}

void centreOnScreen(QWidget& window) {
  QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  window.adjustSize();
  const QRect area = screen->availableGeometry();
  window.move(area.x() + (area.width() - window.width()) / 2,
              area.y() + (area.height() - window.height()) / 2);
}

}  // namespace orvane::admin
