// The walk through orvadmin that the guide's pictures come from: the first
// search, the main window with the modules found, the COM Port dialog, the
// windows of a few modules, the monitor and the terminal, each opened as the
// user opens it, from the main window's buttons and menus.
#pragma once

#include <QSize>
#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace orvane::admin {
class AdminContext;
class OrvaneForm;
}  // namespace orvane::admin

namespace orvane::admin::screenshots {

class Album;
class ShotUi;

class Tour {
 public:
  Tour(AdminContext& context, ShotUi& ui, OrvaneForm& form, Album& album)
      : context_(context), ui_(ui), form_(form), album_(album) {}

  // Takes every picture; the album holds what failed.
  void run();

 private:
  bool firstSearch();
  void mainWindow();
  void comPort();
  void analogInputWindows();
  void digitalWindow();
  void analogOutputCalibration();
  void monitor();
  void lineMonitor();
  void terminal();
  int terminalWindow(QDialog& window);

  // Selects the module of the model in the main window's list.
  bool select(const char* model);
  // Runs the action (a click in the main window) with the handler for the
  // window it must open, and notes a failure when it does not open or a
  // message box appears on the way.
  void open(const QString& windowName, std::function<int(QDialog&)> handler,
            const std::function<void()>& action);
  // Takes the picture and closes the window as Escape would.
  int takeAndClose(QDialog& window, const QString& name, QSize size = {});
  void noteMessages(const QString& during);

  AdminContext& context_;
  ShotUi& ui_;
  OrvaneForm& form_;
  Album& album_;
};

// Clicks the named button of the window; false when it has none enabled.
bool clickButton(QWidget& window, const char* name);

}  // namespace orvane::admin::screenshots
