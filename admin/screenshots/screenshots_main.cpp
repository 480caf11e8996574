// orvadmin_screenshots: the pictures of the orvadmin user guide, taken from
// the real windows. orvadmin runs on the offscreen platform against the
// built-in demo network on a pseudo-terminal, with its own temporary config
// directory (COM1 is the simulator); the user's settings are neither read
// nor changed. Every picture goes into the folder given as the only
// argument, and once more in a dark palette into its folder "dark". Exits 1,
// saying why, when a window cannot be shown or a text cannot be read.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "admin/calib/calib_windows.h"
#include "admin/config/config_windows.h"
#include "admin/core/admin_context.h"
#include "admin/core/orvane_form.h"
#include "admin/diag/diag_windows.h"
#include "admin/screenshots/album.h"
#include "admin/screenshots/look.h"
#include "admin/screenshots/shot_ui.h"
#include "admin/screenshots/tour.h"
#include "admin/terminal/terminal_windows.h"
#include "serial/config_dir.h"
#include "sim/network.h"

namespace {

using namespace orvane;

// A failure no window caught (a serial error in the middle of an exchange)
// is noted instead of ending the program, as orvadmin shows it instead.
class Application : public QApplication {
 public:
  using QApplication::QApplication;

  QStringList failures;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
      failures << QString::fromLocal8Bit(failure.what());
      return false;
    }
  }
};

constexpr int kUsage = 2;
// The demo network runs at 9600, 19200 and 115200 bps, as scripts/demo
// searches it.
constexpr const char* kComCfg = "100\r\n1\r\nn,8,1\r\n9600\r\n19200\r\n115200\r\n";

void writeFile(const std::filesystem::path& path, const std::string& content) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << content;
  if (!file.flush()) throw std::runtime_error(path.string() + ": cannot be written");
}

// The offscreen platform's notes about what it cannot do for a window say
// nothing about the pictures.
void quietOffscreenNotes(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::abort();
  }
  if (text.contains(QStringLiteral("propagateSizeHints")) ||
      text.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR")))
    return;
  std::fprintf(stderr, "%s\n", qPrintable(text));
}

void registerWindows(admin::WindowFactories& windows) {
  admin::registerTerminalWindows(windows);
  admin::registerConfigWindows(windows);
  admin::registerDiagWindows(windows);
  admin::registerCalibWindows(windows);
}

// The pictures into `folder`; the album holds what failed.
void takePictures(const QTemporaryDir& work, admin::screenshots::Album& album) {
  if (!work.isValid())
    throw std::runtime_error("no temporary directory: " + work.errorString().toStdString());
  ::setenv("XDG_CONFIG_HOME", qPrintable(work.filePath(QStringLiteral("config"))), 1);
  const std::filesystem::path configDir = serial::configDir();
  std::filesystem::create_directories(configDir);
  sim::Network network(sim::demoNetwork());
  writeFile(configDir / "ports.conf", "COM1=" + network.slavePath() + "\n");
  writeFile(configDir / "COM.CFG", kComCfg);
  // The terminal's log and batch files, and admin.map, stay in there.
  QDir::setCurrent(work.path());

  auto services = std::make_unique<admin::screenshots::ShotUi>();
  admin::screenshots::ShotUi& ui = *services;
  admin::AdminContext context(configDir, std::move(services));
  context.baudSettlePause = std::chrono::milliseconds(0);
  context.cjcSettlePause = std::chrono::milliseconds(30);
  registerWindows(context.windows);
  admin::OrvaneForm form(context);
  form.load();
  for (const QString& text : ui.messages) album.fail(QStringLiteral("start-up: ") + text);
  ui.messages.clear();
  admin::screenshots::Tour(context, ui, form, album).run();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: orvadmin_screenshots OUTPUT-FOLDER\n");
    return kUsage;
  }
  // The pictures never depend on the user's display, its scaling or theme.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::unsetenv("QT_SCALE_FACTOR");
  ::unsetenv("QT_STYLE_OVERRIDE");
  qInstallMessageHandler(quietOffscreenNotes);
  int argumentCount = 1;
  Application application(argumentCount, argv);
  QApplication::setApplicationName(QStringLiteral("Orvane"));
  admin::screenshots::setLook(application);

  const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "orvadmin_screenshots: cannot create %s\n", qPrintable(folder));
    return 1;
  }
  const QTemporaryDir work(QDir::temp().filePath(QStringLiteral("orvadmin-screenshots-XXXXXX")));
  admin::screenshots::Album album(folder, admin::screenshots::darkPalette());
  try {
    takePictures(work, album);
  } catch (const std::exception& failure) {
    album.fail(QString::fromLocal8Bit(failure.what()));
  }
  for (const QString& failure : application.failures) album.fail(failure);
  for (const QString& line : album.written()) std::printf("%s\n", qPrintable(line));
  for (const QString& failure : album.failures())
    std::fprintf(stderr, "orvadmin_screenshots: %s\n", qPrintable(failure));
  return album.failures().isEmpty() ? 0 : 1;
}
