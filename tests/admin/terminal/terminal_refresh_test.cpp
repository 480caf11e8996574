// The terminal opened from the main window, and what the main window makes
// of the modules afterwards.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "admin/core/command_link.h"
#include "admin/terminal/terminal_windows.h"
#include "protocol/frame.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/form_driver.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin {
namespace {

using namespace testing;

class TerminalRefreshTest : public AdminFixture {
 protected:
  TerminalRefreshTest() : form_(*context_) { registerTerminalWindows(context_->windows); }

  // Types the commands into the terminal when it opens, then presses Exit.
  void whenTerminalOpens(std::vector<std::string> commands, bool* checksumShown = nullptr) {
    ui_->modalHandlers["TerminalForm"] = [this, commands, checksumShown](QDialog& dialog) {
      if (checksumShown)
        *checksumShown = dialog.findChild<QCheckBox*>("CheckSumEnable")->isChecked();
      auto* entry = dialog.findChild<QLineEdit*>("CmdText");
      for (const auto& command : commands) {
        QTest::keyClicks(entry, QString::fromStdString(command));
        QTest::keyClick(entry, Qt::Key_Return);
        replies_.push_back(context_->LastReply);
      }
      dialog.findChild<QPushButton*>("ExitBtn")->click();
      return dialog.result();
    };
  }

  OrvaneForm form_;
  std::vector<std::string> replies_;
};

TEST_F(TerminalRefreshTest, ChecksumSwitchedOnInTheTerminalIsUsedAfterItCloses) {
  auto module = simModule("7213", 5);
  module.initState = true;
  startNetwork({module}, 1);
  writeConfigFile("COM.CFG", "60\r\n1\r\nn,8,1\r\n9600\r\n");
  form_.load();
  answerSearch(*ui_, {"5"});
  clickButton(form_, "SearchBtn");
  ASSERT_EQ(context_->ModuleCount, 1);
  ASSERT_EQ(context_->InitModuleIndex, 0);
  ASSERT_EQ(context_->SelectedIndex, 0);
  context_->LongReplyTimeout = 200;

  // In its initialization state the module takes checksum on (FF bit 6).
  const std::string typeCode = Hex2(static_cast<unsigned>(network_->state(5).typeCode));
  bool checksumShown = true;
  whenTerminalOpens({"%0005" + typeCode + "0640"}, &checksumShown);
  clickButton(form_, "TerminalBtn");
  EXPECT_FALSE(checksumShown);
  ASSERT_EQ(replies_, std::vector<std::string>{"!05"});
  EXPECT_EQ(context_->ModuleList[0].ChecksumFlag, 1) << "refreshed after the terminal closed";

  // Back on the line at its own address: the next terminal addresses it with
  // checksum without being told.
  network_->setInitState(5, false);
  network_->clearFrames();
  whenTerminalOpens({"$052"}, &checksumShown);
  clickButton(form_, "TerminalBtn");
  EXPECT_TRUE(checksumShown);
  ASSERT_EQ(replies_.size(), 2u);
  EXPECT_EQ(replies_[1].substr(0, 3), "!05");
  ASSERT_FALSE(framesSent().empty());
  EXPECT_EQ(framesSent().front(), "$052" + protocol::checksumDigits("$052"));
}

}  // namespace
}  // namespace orvane::admin
