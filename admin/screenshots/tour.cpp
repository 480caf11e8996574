#include "admin/screenshots/tour.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTimer>

#include "admin/core/admin_context.h"
#include "admin/core/orvane_form.h"
#include "admin/core/trace_view.h"
#include "admin/screenshots/album.h"
#include "admin/screenshots/shot_ui.h"
#include "protocol/numbers.h"

namespace orvane::admin::screenshots {

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// The demo network's modules sit at 1 to 20 (the one in its initialization
// state answers at 00 and belongs at 20): a search up to 20 finds them all
// without trying the empty addresses above.
constexpr int kUpperAddress = 20;
// The search dialog's picture is taken half-way through the range.
constexpr int kScanPictureAddress = 12;
const QSize kMainWindowSize(760, 560);
const QSize kMonitorSize(560, 700);
const QSize kLineMonitorSize(780, 420);

void triggerMenu(QWidget& window, const char* name) {
  if (auto* action = window.findChild<QAction*>(QString::fromLatin1(name))) action->trigger();
}

// Shows the dialog and serves events until it closes itself; false when it
// is still open at the limit (it is then closed).
bool runUntilClosed(QDialog& dialog, milliseconds limit) {
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(limit, &loop, &QEventLoop::quit);
  dialog.show();
  if (dialog.isVisible()) loop.exec();
  if (!dialog.isVisible()) return true;
  dialog.reject();
  return false;
}

}  // namespace

bool clickButton(QWidget& window, const char* name) {
  auto* button = window.findChild<QAbstractButton*>(QString::fromLatin1(name));
  if (!button || !button->isEnabled()) return false;
  button->click();
  return true;
}

void Tour::run() {
  if (!firstSearch()) return;
  mainWindow();
  comPort();
  analogInputWindows();
  digitalWindow();
  analogOutputCalibration();
  monitor();
  lineMonitor();
  terminal();
}

bool Tour::firstSearch() {
  QDialog* scan = nullptr;
  bool scanTaken = false;
  bool searched = false;
  ui_.onOpen(QStringLiteral("SearchForm"), [this](QDialog& search) {
    auto* upper = search.findChild<QLineEdit*>(QStringLiteral("HiAddress"));
    if (upper) {
      upper->setText(QString::number(kUpperAddress));
      upper->selectAll();
    }
    album_.take(search, QStringLiteral("search.png"));
    if (!clickButton(search, "OKBtn")) search.reject();
    return search.result();
  });
  ui_.onOpen(QStringLiteral("ScanForm"), [&](QDialog& dialog) {
    scan = &dialog;
    if (!runUntilClosed(dialog, seconds(20))) album_.fail(QStringLiteral("the search did not end"));
    scan = nullptr;
    searched = true;
    return dialog.result();
  });
  ui_.onYield = [&] {
    if (scanTaken || !scan) return;
    const auto* address = scan->findChild<QLabel*>(QStringLiteral("addrs"));
    if (address && address->text() == QString::number(kScanPictureAddress)) {
      scanTaken = true;
      album_.take(*scan, QStringLiteral("scan.png"));
    }
  };
  // The first activation of the main window starts the search, as at every
  // start of orvadmin.
  form_.show();
  form_.activateWindow();
  const bool ran = serveUntil([&] { return searched; }, seconds(30));
  ui_.onYield = nullptr;
  noteMessages(QStringLiteral("the search"));
  if (!ran) {
    album_.fail(QStringLiteral("the search did not start: the main window was never activated"));
    return false;
  }
  if (!scanTaken) album_.fail(QStringLiteral("scan.png: the search never reached its address"));
  if (context_.ModuleCount == 0) {
    album_.fail(QStringLiteral("the search found no module"));
    return false;
  }
  return true;
}

void Tour::mainWindow() { album_.take(form_, QStringLiteral("main-window.png"), kMainWindowSize); }

void Tour::comPort() {
  open(
      QStringLiteral("ComPortForm"),
      [this](QDialog& dialog) { return takeAndClose(dialog, QStringLiteral("com-port.png")); },
      [this] { triggerMenu(form_, "mnuComPort"); });
}

// The Line Monitor, opened from the Network menu, while the analog input
// test window polls beside it.
void Tour::lineMonitor() {
  if (!select("7234")) return;
  triggerMenu(form_, "mnuLineMonitor");
  QWidget* lineMonitor = nullptr;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->objectName() == QStringLiteral("LineMonitorForm")) lineMonitor = window;
  if (!lineMonitor) {
    album_.fail(QStringLiteral("line-monitor.png: Network > Line Monitor opened no window"));
    return;
  }
  open(
      QStringLiteral("AdDiagForm"),
      [&](QDialog& dialog) {
        dialog.show();
        serveFor(milliseconds(1200));
        const auto* traffic = lineMonitor->findChild<TraceView*>(QStringLiteral("Traffic"));
        if (!traffic || !traffic->text().contains(QStringLiteral("ms")))
          album_.fail(QStringLiteral("line-monitor.png: the Line Monitor shows no reply"));
        album_.take(*lineMonitor, QStringLiteral("line-monitor.png"), kLineMonitorSize);
        dialog.reject();
        return dialog.result();
      },
      [this] { clickButton(form_, "DiagBtn"); });
  lineMonitor->close();
}

void Tour::monitor() {
  open(
      QStringLiteral("MonitorForm"),
      [this](QDialog& dialog) {
        dialog.resize(kMonitorSize);
        dialog.show();
        // The first pass runs as soon as the window is shown.
        auto* grid = dialog.findChild<QTableWidget*>(QStringLiteral("MonitorGrid"));
        const bool read = serveUntil(
            [grid] { return grid && grid->item(0, 2) && !grid->item(0, 2)->text().isEmpty(); },
            seconds(5));
        if (!read) album_.fail(QStringLiteral("monitor.png: the monitor read no module"));
        return takeAndClose(dialog, QStringLiteral("monitor.png"), kMonitorSize);
      },
      [this] { triggerMenu(form_, "mnuMonitor"); });
}

bool Tour::select(const char* model) {
  auto* device = form_.findChild<QListWidget*>(QStringLiteral("Device"));
  for (int i = 0; device && i < context_.ModuleCount; ++i) {
    const auto& entry = context_.ModuleList[static_cast<std::size_t>(i)];
    if (protocol::trimmed(entry.ModelName) == model) {
      device->setCurrentRow(i);
      return context_.SelectedIndex == i;
    }
  }
  album_.fail(QStringLiteral("the search did not find the %1").arg(QString::fromLatin1(model)));
  return false;
}

void Tour::open(const QString& windowName, std::function<int(QDialog&)> handler,
                const std::function<void()>& action) {
  ui_.onOpen(windowName, std::move(handler));
  action();
  if (!ui_.opened(windowName)) album_.fail(windowName + QStringLiteral(" did not open"));
  noteMessages(windowName);
}

int Tour::takeAndClose(QDialog& window, const QString& name, QSize size) {
  album_.take(window, name, size);
  window.reject();
  return window.result();
}

void Tour::noteMessages(const QString& during) {
  for (const QString& text : ui_.messages)
    album_.fail(during + QStringLiteral(" showed a message: ") + text);
  for (const QString& window : ui_.unexpectedWindows)
    album_.fail(during + QStringLiteral(" opened ") + window);
  ui_.messages.clear();
  ui_.unexpectedWindows.clear();
}

}  // namespace orvane::admin::screenshots
