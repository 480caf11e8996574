// Everything a window asks of the desktop besides its own widgets: message
// boxes, modal windows, file and print dialogs, pauses, the busy cursor and
// the beep. Windows call these through AdminContext::ui(), never Qt directly,
// so a test substitutes its own services, records what the user would see and
// answers every question without a real modal loop.
#pragma once

#include <QMessageBox>
#include <QString>
#include <chrono>

class QDialog;
class QPrinter;
class QWidget;

namespace orvane::admin {

// The program's own title, used by every box without a title of its own.
inline const QString kAppTitle = QStringLiteral("Orvane");
inline const QString kErrorTitle = QStringLiteral("Error");

class UiServices {
 public:
  virtual ~UiServices() = default;

  // A message box; returns the button the user chose (the only button for
  // plain OK boxes).
  virtual QMessageBox::StandardButton message(
      QWidget* parent, const QString& text, const QString& title = kAppTitle,
      QMessageBox::StandardButtons buttons = QMessageBox::Ok) = 0;

  // Shows the dialog modally and returns its result (QDialog::Accepted or
  // Rejected). The dialog is centred on the screen first. A dialog with a
  // parent blocks that parent and its parents, not the windows of their
  // own (the Line Monitor); message boxes do the same.
  virtual int execModal(QDialog& dialog) = 0;

  // File dialogs with a title and a Qt filter ("MAP Files (*.map);;All Files
  // (*)"); an empty result means cancelled.
  virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
  virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter) = 0;

  // The system's print dialog for the printer; false when cancelled.
  virtual bool printDialog(QWidget* parent, QPrinter& printer, const QString& title) = 0;

  // A pause of a sequence on the GUI thread: the window repaints, but no
  // user input is served meanwhile.
  virtual void pause(std::chrono::milliseconds duration) = 0;
  // Lets the event loop serve pending events once (a Stop click, a repaint).
  virtual void yield() = 0;
  virtual void beep() = 0;
  // The hourglass while a long job runs on the GUI thread.
  virtual void setBusyCursor(bool busy) = 0;
};

// The real desktop: QMessageBox, QDialog::exec, QFileDialog, QPrintDialog.
class DesktopUi : public UiServices {
 public:
  QMessageBox::StandardButton message(QWidget* parent, const QString& text, const QString& title,
                                      QMessageBox::StandardButtons buttons) override;
  int execModal(QDialog& dialog) override;
  QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
  QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override;
  bool printDialog(QWidget* parent, QPrinter& printer, const QString& title) override;
  void pause(std::chrono::milliseconds duration) override;
  void yield() override;
  void beep() override;
  void setBusyCursor(bool busy) override;
};

// Centres a window on the screen it is on (every window but the main one
// does this when it loads).
void centreOnScreen(QWidget& window);

}  // namespace orvane::admin
