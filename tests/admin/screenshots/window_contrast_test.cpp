// Every window of orvadmin, opened for a module of each family as the main
// window opens it, in a light and in a dark desktop theme: every text it
// shows can be read, and back on the light theme every text has the colour
// it had there before.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QStyle>
#include <QTimer>

#include "admin/calib/calib_windows.h"
#include "admin/config/config_windows.h"
#include "admin/core/window_dispatch.h"
#include "admin/diag/diag_form.h"
#include "admin/diag/diag_windows.h"
#include "admin/diag/monitor_form.h"
#include "admin/screenshots/look.h"
#include "admin/screenshots/readability.h"
#include "admin/terminal/terminal_windows.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin {
namespace {

using namespace testing;

constexpr int kAddress = 5;

struct Theme {
  const char* name;
  QPalette palette;
};

std::vector<Theme> themes() {
  return {{"light", QApplication::style()->standardPalette()},
          {"dark", screenshots::darkPalette()}};
}

// What cannot be read, one line each.
std::string unreadable(const QWidget& window) {
  std::string lines;
  for (const auto& text : screenshots::unreadableTexts(window))
    lines += screenshots::describe(text).toStdString() + "\n";
  return lines;
}

// The colours the window handed its texts (style sheets, palette text
// colours), one line each.
std::string handedColours(const QWidget& window) {
  std::string lines;
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    const QString sheet = widget->styleSheet();
    const QString colour = widget->testAttribute(Qt::WA_SetPalette)
                               ? widget->palette().color(QPalette::WindowText).name()
                               : QString();
    if (sheet.isEmpty() && colour.isEmpty()) continue;
    lines += QStringLiteral("%1: %2 %3\n").arg(widget->objectName(), sheet, colour).toStdString();
  }
  return lines;
}

class WindowContrastTest : public AdminFixture {
 protected:
  WindowContrastTest() {
    context_->ReplyTimeout = 150;
    context_->LongReplyTimeout = 150;
    registerTerminalWindows(context_->windows);
    registerConfigWindows(context_->windows);
    registerDiagWindows(context_->windows);
    registerCalibWindows(context_->windows);
  }

  // Opens the window as the main window would and lets it show what it
  // read: a polling window makes one pass, then polls no more.
  std::unique_ptr<QDialog> open(const QString& name) {
    std::unique_ptr<QDialog> window = context_->windows.create(name, *context_, nullptr);
    if (!window) return window;
    window->show();
    if (auto* timer = window->findChild<QTimer*>(QStringLiteral("Timer1"))) timer->stop();
    if (auto* diag = dynamic_cast<DiagForm*>(window.get())) diag->pollOnce();
    if (auto* monitor = dynamic_cast<MonitorForm*>(window.get())) monitor->pollOnce();
    return window;
  }

  void expectReadable(const QWidget& window) {
    const std::string before = handedColours(window);
    for (const Theme& theme : themes()) {
      const screenshots::PaletteScope scope(theme.palette);
      EXPECT_EQ(unreadable(window), "") << theme.name;
    }
    EXPECT_EQ(handedColours(window), before) << "the light theme's colours again";
  }
};

struct ModuleCase {
  const char* model;
  int typeCode;            // 0: the model's own
  int portDirections = 0;  // the 7469's, 0: every port an output
};

class EveryWindowTest : public WindowContrastTest,
                        public ::testing::WithParamInterface<ModuleCase> {};

TEST_P(EveryWindowTest, TextsOfEveryWindowOfTheModuleCanBeRead) {
  auto module = simModule(GetParam().model, kAddress);
  if (GetParam().typeCode != 0) module.typeCode = GetParam().typeCode;
  if (GetParam().portDirections != 0) module.portDirections = GetParam().portDirections;
  const ModuleEntry& entry = start({module});
  std::vector<QString> windows{QStringLiteral("MonitorForm"), QStringLiteral("TerminalForm")};
  for (const Dispatch& dispatch :
       {configurationDispatch(entry), diagnosticDispatch(entry), calibrationDispatch(entry)})
    if (!dispatch.window.isEmpty()) windows.push_back(dispatch.window);
  for (const QString& name : windows) {
    SCOPED_TRACE(name.toStdString());
    const std::unique_ptr<QDialog> window = open(name);
    ASSERT_TRUE(window) << "no window";
    expectReadable(*window);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Families, EveryWindowTest,
    ::testing::Values(ModuleCase{"7234", 0}, ModuleCase{"7213", 0}, ModuleCase{"7342", 0},
                      ModuleCase{"7347", 0}, ModuleCase{"7451", 0}, ModuleCase{"7469", 0, 0x0C},
                      ModuleCase{"7586", 0x50}, ModuleCase{"7586", 0x51}, ModuleCase{"7912", 0}),
    [](const auto& info) {
      return std::string(info.param.model) + "_" + std::to_string(info.param.typeCode);
    });

// Switching the counter dialog between its layouts greyed and blackened its
// labels, which a dark theme showed black on dark grey.
TEST_F(WindowContrastTest, CounterDialogStaysReadableAfterSwitchingItsLayout) {
  start({simModule("7586", kAddress)});
  const screenshots::PaletteScope dark(screenshots::darkPalette());
  const std::unique_ptr<QDialog> window = open(QStringLiteral("CtrConfigForm"));
  auto* type = window->findChild<QComboBox*>(QStringLiteral("TypeCode"));
  ASSERT_TRUE(type);
  for (int layout : {1, 0, 1}) {
    type->setCurrentIndex(layout);
    EXPECT_EQ(unreadable(*window), "") << "layout " << layout;
  }
}

// The link line, red, while the adapter is out.
TEST_F(WindowContrastTest, FailedLinkLineCanBeRead) {
  start({simModule("7234", kAddress)});
  const std::unique_ptr<QDialog> window = open(QStringLiteral("AdDiagForm"));
  network_->unplug();
  const auto* line = window->findChild<QLabel*>(QStringLiteral("LinkStatus"));
  ASSERT_TRUE(line);
  const screenshots::PaletteScope dark(screenshots::darkPalette());
  static_cast<DiagForm&>(*window).pollOnce();
  EXPECT_FALSE(line->text().isEmpty()) << "the failure is said";
  expectReadable(*window);
}

}  // namespace
}  // namespace orvane::admin
