// The calibration windows opened from the main window's Calibration button.
#include "admin/calib/calib_windows.h"

#include <QLabel>
#include <QPushButton>

#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/form_driver.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin {
namespace {

using namespace testing;

class CalibDispatchTest : public AdminFixture {
 protected:
  CalibDispatchTest() : form_(*context_) {
    registerCalibWindows(context_->windows);
    context_->ReplyTimeout = 150;
    context_->LongReplyTimeout = 150;
  }

  // Finds the modules and selects the row.
  void search(std::vector<sim::ModuleState> modules, int row) {
    startNetwork(std::move(modules), 1);
    writeConfigFile("COM.CFG", "60\r\n1\r\nn,8,1\r\n9600\r\n");
    form_.load();
    answerSearch(*ui_, {"9"});
    clickButton(form_, "SearchBtn");
    context_->SelectedIndex = row;
  }

  OrvaneForm form_;
};

TEST_F(CalibDispatchTest, TheCalibrationButtonOpensTheWindowOfTheFamily) {
  search({simModule("7234", 1), simModule("7342", 2), simModule("7213", 3)}, 0);
  std::vector<QString> steps;
  ui_->modalHandlers[QStringLiteral("AdCalibForm")] = [&](QDialog& dialog) {
    steps.push_back(dialog.findChild<QLabel*>(QStringLiteral("StepNo"))->text());
    dialog.findChild<QPushButton*>(QStringLiteral("ExitBtn"))->click();
    return dialog.result();
  };
  clickButton(form_, "CalibBtn");
  context_->SelectedIndex = 2;
  clickButton(form_, "CalibBtn");
  EXPECT_EQ(ui_->modalsOpened,
            (std::vector<QString>{"SearchForm", "ScanForm", "AdCalibForm", "AdCalibForm"}));
  EXPECT_EQ(steps, (std::vector<QString>{"1", "1"}));

  context_->SelectedIndex = 1;
  ui_->modalHandlers[QStringLiteral("DaCalibForm")] = [&](QDialog& dialog) {
    network_->clearFrames();
    dialog.findChild<QPushButton*>(QStringLiteral("ExitBtn"))->click();
    return dialog.result();
  };
  clickButton(form_, "CalibBtn");
  EXPECT_EQ(ui_->modalsOpened.back(), "DaCalibForm");
  EXPECT_EQ(framesSent(), std::vector<std::string>{"%0202300600"}) << "Exit restored the range";
  EXPECT_EQ(network_->state(2).typeCode, 0x30);
}

}  // namespace
}  // namespace orvane::admin
