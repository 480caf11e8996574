// orvadmin: the Orvane administration utility. Its only settings are COM.CFG
// and ports.conf in the config directory; its command line holds --help,
// --version and Qt's own options.
#include <QApplication>
#include <QMessageBox>
#include <iostream>

#include "admin/core/admin_context.h"
#include "admin/core/command_line.h"
#include "admin/core/orvane_form.h"
#include "serial/config_dir.h"
#ifdef ORVADMIN_HAS_TERMINAL
#include "admin/terminal/terminal_windows.h"
#endif
#ifdef ORVADMIN_HAS_CONFIG
#include "admin/config/config_windows.h"
#endif
#ifdef ORVADMIN_HAS_DIAG
#include "admin/diag/diag_windows.h"
#endif
#ifdef ORVADMIN_HAS_CALIB
#include "admin/calib/calib_windows.h"
#endif

namespace {

// A failure no window caught (a serial error in the middle of an exchange)
// is shown to the user instead of ending the program.
class Application : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
      QMessageBox::critical(nullptr, QStringLiteral("Error"),
                            QString::fromLocal8Bit(failure.what()));
      return false;
    }
  }
};

void registerWindows([[maybe_unused]] orvane::admin::WindowFactories& windows) {
#ifdef ORVADMIN_HAS_TERMINAL
  orvane::admin::registerTerminalWindows(windows);
#endif
#ifdef ORVADMIN_HAS_CONFIG
  orvane::admin::registerConfigWindows(windows);
#endif
#ifdef ORVADMIN_HAS_DIAG
  orvane::admin::registerDiagWindows(windows);
#endif
#ifdef ORVADMIN_HAS_CALIB
  orvane::admin::registerCalibWindows(windows);
#endif
}

constexpr int kUsageError = 2;

}  // namespace

int main(int argc, char** argv) {
  // Answered before QApplication, which ends the program when there is no
  // display to connect to.
  const orvane::admin::CommandLine line = orvane::admin::parseCommandLine(argc, argv);
  switch (line.action) {
    case orvane::admin::CommandLine::Action::Help:
      std::cout << orvane::admin::helpText();
      return 0;
    case orvane::admin::CommandLine::Action::Version:
      std::cout << orvane::admin::versionText();
      return 0;
    case orvane::admin::CommandLine::Action::Refuse:
      std::cerr << "orvadmin: " << line.refusal << "; see orvadmin --help\n";
      return kUsageError;
    case orvane::admin::CommandLine::Action::Run:
      break;
  }
  Application application(argc, argv);
  Application::setApplicationName(QStringLiteral("Orvane"));
  orvane::admin::AdminContext context(orvane::serial::configDir());
  // The lines are owned by a thread of their own: no window waits on them.
  context.line().startThread();
  registerWindows(context.windows);
  orvane::admin::OrvaneForm form(context);
  form.load();
  form.show();
  // Ask for the focus: the search starts on the first activation, also on a
  // display without a window manager to hand it out.
  form.activateWindow();
  return Application::exec();
}
