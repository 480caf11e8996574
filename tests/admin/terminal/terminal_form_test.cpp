#include <QLabel>
#include <QTest>
#include <mutex>

#include "admin/core/line_monitor_form.h"
#include "admin/core/trace_view.h"
#include "admin/terminal/terminal_display.h"
#include "tests/admin/core/read_file.h"
#include "tests/admin/terminal/terminal_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;

class TerminalFormTest : public TerminalFixture {};

TEST_F(TerminalFormTest, TypedCommandsFollowTheAddressingRule) {
  auto atInit = simModule("7213", 5);
  atInit.initState = true;
  start({simModule("7213", 3, 4, true), atInit, simModule("7213", 7)});
  setEntry(0, "7213", 3, 4, 1);
  context_->ModuleCount = 1;
  checkBox("CheckSumEnable").setChecked(true);

  type("$032");
  auto sent = newFrames(1);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].raw, frame("$032", true));
  EXPECT_EQ(sent[0].baudRate, 19200) << "the listed module's rate";
  EXPECT_TRUE(context_->LastExchangeOK);
  EXPECT_EQ(context_->LastReply.substr(0, 3), "!03");

  type("$002");
  sent = newFrames(1);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].raw, frame("$002", false)) << "address 00 never carries a checksum";
  EXPECT_EQ(sent[0].baudRate, 9600);
  EXPECT_EQ(sent[0].answeredBy, 5);

  type("#**");
  sent = newFrames(1);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].raw, frame("#**", true));
  EXPECT_EQ(sent[0].baudRate, 9600);

  checkBox("CheckSumEnable").setChecked(false);
  type("$072");
  sent = newFrames(1);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].raw, frame("$072", false));
  EXPECT_EQ(sent[0].baudRate, 9600) << "an address not in the list";
  EXPECT_EQ(sent[0].answeredBy, 7);
  EXPECT_EQ(shownLines().back(), context_->LastReply);
}

TEST_F(TerminalFormTest, DisplayKeepsTheLastTwelveLinesWithTheEntryLineBelow) {
  start({simModule("7213", 1)});
  const std::vector<std::string> commands{"$01M", "$012", "$01F", "#01", "$015", "$01M", "$012"};
  std::vector<std::string> expected;
  auto* terminal = form_->findChild<TerminalDisplay*>(QStringLiteral("Terminal"));
  const int firstRowTop = lineEdit("CmdText").y();
  for (std::size_t n = 0; n < commands.size(); ++n) {
    type(commands[n]);
    expected.push_back(">" + commands[n]);
    expected.push_back(context_->LastReply);
    EXPECT_FALSE(context_->LastReply.empty()) << commands[n];
    EXPECT_TRUE(lineEdit("CmdText").text().isEmpty());
    if (n == 0) {
      EXPECT_EQ(shownLines(), expected);
      EXPECT_EQ(entryRow(), 2);
    }
  }
  const std::vector<std::string> lastTwelve(expected.end() - 12, expected.end());
  EXPECT_EQ(shownLines(), lastTwelve) << "oldest at the top";
  EXPECT_EQ(shownLines().front(), ">$012");
  EXPECT_EQ(entryRow(), 12);
  EXPECT_EQ(lineEdit("CmdText").y(), firstRowTop + 12 * terminal->linePitch());
  EXPECT_TRUE(lineEdit("CmdText").geometry().bottom() <= terminal->height());
}

TEST_F(TerminalFormTest, LogHoldsExactlyTheCommandsSentAndStartsOverWhenCheckedAgain) {
  start({simModule("7213", 1)});
  const std::string log = path("terminal.log");
  ui_->fileAnswers.push_back(QString::fromStdString(log));
  click("LogDialogBtn");
  EXPECT_EQ(ui_->fileDialogTitles.back(), "Log File");
  EXPECT_EQ(lineEdit("LogFileName").text().toStdString(), log);
  checkBox("LogToFile").click();

  type("  $012  ");
  type("$01M");
  // Each line is on disk as soon as its command went out.
  EXPECT_EQ(readFile(log), "$012\r\n$01M\r\n");
  checkBox("LogToFile").click();
  type("$01F");
  EXPECT_EQ(readFile(log), "$012\r\n$01M\r\n") << "unchecked: nothing more is logged";

  checkBox("LogToFile").click();
  EXPECT_EQ(readFile(log), "") << "checking again starts the file over";
  type("$015");
  form_->findChild<QPushButton*>(QStringLiteral("ExitBtn"))->click();
  EXPECT_EQ(readFile(log), "$015\r\n");
  EXPECT_TRUE(ui_->messages.empty());
}

TEST_F(TerminalFormTest, TheLogLineIsOnDiskBeforeTheCommandGoesOut) {
  const std::string log = path("order.log");
  std::mutex seen;
  std::string logWhenTheFrameArrived;
  sim::NetworkOptions options;
  options.onFrame = [&](const sim::FrameRecord&) {
    std::lock_guard lock(seen);
    logWhenTheFrameArrived = readFile(log);
  };
  network_ = std::make_unique<sim::Network>(std::vector{simModule("7213", 1)}, options);
  mapCom(1, network_->slavePath());
  openPort(1);
  openTerminal();
  lineEdit("LogFileName").setText(QString::fromStdString(log));
  checkBox("LogToFile").click();
  type("$01M");
  ASSERT_TRUE(network_->waitForFrames(1, std::chrono::seconds(1)));
  std::lock_guard lock(seen);
  EXPECT_EQ(logWhenTheFrameArrived, "$01M\r\n");
}

TEST_F(TerminalFormTest, LogThatCannotBeCreatedSaysWhyAndLeavesTheBoxUnchecked) {
  start({simModule("7213", 1)});
  const std::string log = path("missing/terminal.log");
  lineEdit("LogFileName").setText(QString::fromStdString(log));
  checkBox("LogToFile").click();
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_TRUE(ui_->messages[0].text.contains(QString::fromStdString(log)));
  EXPECT_TRUE(ui_->messages[0].text.contains("No such file or directory"));
  EXPECT_FALSE(checkBox("LogToFile").isChecked());
  type("$012");
  EXPECT_EQ(ui_->messages.size(), 1u);

  // Choosing such a name while logging is on ends the same way.
  lineEdit("LogFileName").setText(QString::fromStdString(path("good.log")));
  checkBox("LogToFile").click();
  ASSERT_TRUE(checkBox("LogToFile").isChecked());
  ui_->fileAnswers.push_back(QString::fromStdString(log));
  click("LogDialogBtn");
  ASSERT_EQ(ui_->messages.size(), 2u);
  EXPECT_FALSE(checkBox("LogToFile").isChecked());
}

TEST_F(TerminalFormTest, UpAndDownRecallTheCommandsTypedInThisWindow) {
  start({simModule("7213", 1)});
  type("$01M");
  type("$012");
  QLineEdit& entry = lineEdit("CmdText");
  QTest::keyClicks(&entry, "#0");
  QTest::keyClick(&entry, Qt::Key_Up);
  EXPECT_EQ(entry.text(), "$012");
  QTest::keyClick(&entry, Qt::Key_Up);
  EXPECT_EQ(entry.text(), "$01M");
  QTest::keyClick(&entry, Qt::Key_Down);
  EXPECT_EQ(entry.text(), "$012");
  QTest::keyClick(&entry, Qt::Key_Down);
  EXPECT_EQ(entry.text(), "#0") << "back to what was being typed";
  QTest::keyClick(&entry, Qt::Key_Up);
  QTest::keyClick(&entry, Qt::Key_Return);
  EXPECT_EQ(newFrames(3).back().raw, frame("$012", false));
  EXPECT_TRUE(form_->isVisible()) << "Enter sends; it does not close the window";
}

TEST_F(TerminalFormTest, LoadShowsThePortAndTheSelectedModulesChecksum) {
  context_->portSetting(2).Parity = 2;
  context_->portSetting(2).StopBits = 1;
  context_->ComPort = 2;
  setEntry(0, "7213", 3, 3, 1);
  context_->ModuleCount = 1;
  context_->SelectedIndex = 0;
  context_->BatchRepeatCount = 7;
  openTerminal();
  EXPECT_EQ(form_->windowTitle(), "Terminal Emulation");
  EXPECT_EQ(form_->findChild<QLabel*>("ComPort")->text(), "COM2");
  EXPECT_EQ(form_->findChild<QLabel*>("DataBits")->text(), "8");
  EXPECT_EQ(form_->findChild<QLabel*>("StopBits")->text(), "1.5");
  EXPECT_EQ(form_->findChild<QLabel*>("Parity")->text(), "Even");
  EXPECT_TRUE(checkBox("CheckSumEnable").isChecked());
  EXPECT_EQ(context_->BatchRepeatCount, 1);
  for (const char* name :
       {"RunBatchBtn", "StepBatchBtn", "StopBatchBtn", "DisplayBatchBtn", "GoTopBtn", "RepeatBtn"})
    EXPECT_FALSE(button(name).isEnabled()) << name;
  EXPECT_TRUE(button("BatchDialogBtn").isEnabled());
  EXPECT_TRUE(button("RepeatCmdBtn").isEnabled());

  context_->SelectedIndex = -1;
  openTerminal();
  EXPECT_FALSE(checkBox("CheckSumEnable").isChecked());
}

TEST_F(TerminalFormTest, PortThatIsNotOpenIsReportedNotTakenForSilence) {
  context_->ComPort = 1;
  openTerminal();
  type("$012");
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_FALSE(context_->LastExchangeOK);
  EXPECT_EQ(shownLines(), (std::vector<std::string>{">$012", ""}));
}

// A command nobody answers: the terminal shows the command and an empty
// reply line, and the Line Monitor beside it says that the reply timed out.
TEST_F(TerminalFormTest, CommandWithoutReplyShowsAnEmptyLineAndTheMonitorTheTimeOut) {
  start({simModule("7213", 1)});
  LineMonitorForm monitor(*context_);
  type("$072");
  EXPECT_EQ(shownLines(), (std::vector<std::string>{">$072", ""}));
  EXPECT_TRUE(ui_->messages.empty()) << "silence is no failure of the line";
  const auto* traffic = monitor.findChild<TraceView*>(QStringLiteral("Traffic"));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return traffic->text().contains(QStringLiteral("! time-out: no reply")); }, 5000))
      << traffic->text().toStdString();
  EXPECT_TRUE(traffic->text().contains(QStringLiteral("> $072<CR>")));
}

// A raw TCP line through ser2net, at 9600 bps: a typed command for a module
// listed at another rate goes out at the line's speed, and the terminal says
// so once per opening of the port, not at every command.
TEST_F(TerminalFormTest, ARateALineAtAFixedSpeedCannotTakeIsToldOncePerPort) {
  if (!startNetworkBehindSer2net({simModule("7213", 1), simModule("7213", 2)}, true))
    GTEST_SKIP() << "ser2net is not installed (Debian package ser2net, which scripts/setup "
                    "installs)";
  openPort(1);
  context_->portSetting(1).SearchFlags = {0, 0, 0, 1, 0, 0, 0, 0};
  context_->LongReplyTimeout = 1000;  // through ser2net on a loaded machine
  setEntry(0, "7213", 2, 4);          // listed at 19200
  context_->ModuleCount = 1;
  openTerminal();
  const QString note = QStringLiteral(
      "COM1 is a network line at a fixed speed; commands go out at its speed, not at 19200 bps");

  type("$012");
  EXPECT_TRUE(ui_->messages.empty()) << "9600 is the line's speed";
  for (int i = 0; i < 2; ++i) {
    type("$022");
    EXPECT_EQ(context_->LastReply.substr(0, 3), "!02") << "the module at the server's speed";
  }
  EXPECT_EQ(ui_->texts(), std::vector<QString>{note});
  EXPECT_EQ(ui_->messages.front().title, "Orvane");

  context_->OrvComm.close(1);
  openPort(1);
  type("$022");
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{note, note})) << "the port was opened again";
  for (const auto& sent : newFrames(4)) EXPECT_EQ(sent.baudRate, 9600);
}

}  // namespace
}  // namespace orvane::admin
