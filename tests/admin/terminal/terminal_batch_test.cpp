#include <QPlainTextEdit>

#include "admin/terminal/terminal_display.h"
#include "tests/admin/core/read_file.h"
#include "tests/admin/terminal/guarded_fifo.h"
#include "tests/admin/terminal/terminal_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;

class TerminalBatchTest : public TerminalFixture {
 protected:
  std::vector<std::string> rawFrames(std::size_t expected = 0) {
    std::vector<std::string> raws;
    for (const auto& record : newFrames(expected)) raws.push_back(record.raw);
    return raws;
  }
  bool enabled(const char* name) const { return button(name).isEnabled(); }
  // Sets BatchRepeatCount through RepeatForm.
  void setRepeatTimes(const QString& times) {
    ui_->modalHandlers["RepeatForm"] = [times](QDialog& dialog) {
      dialog.findChild<QLineEdit*>("RepeatTimes")->setText(times);
      dialog.findChild<QPushButton*>("OKBtn")->click();
      return dialog.result();
    };
    click("RepeatBtn");
  }
};

TEST_F(TerminalBatchTest, StepToTheEndThenGoTopStartsAgain) {
  start({simModule("7213", 1)});
  chooseBatchFile(writeFile("two.txt", "$012\r\n$01M\r\n"));
  EXPECT_EQ(ui_->fileDialogTitles.back(), "Batch File");
  for (const char* name : {"RunBatchBtn", "StepBatchBtn", "DisplayBatchBtn", "RepeatBtn"})
    EXPECT_TRUE(enabled(name)) << name;
  EXPECT_FALSE(enabled("GoTopBtn"));
  EXPECT_FALSE(enabled("StopBatchBtn"));

  click("StepBatchBtn");
  EXPECT_EQ(rawFrames(1), std::vector<std::string>{frame("$012", false)});
  EXPECT_TRUE(enabled("GoTopBtn"));
  EXPECT_TRUE(enabled("StepBatchBtn"));
  click("StepBatchBtn");
  EXPECT_EQ(rawFrames(1), std::vector<std::string>{frame("$01M", false)});
  EXPECT_FALSE(enabled("StepBatchBtn")) << "at the end of the file";
  EXPECT_FALSE(enabled("RunBatchBtn"));
  EXPECT_TRUE(enabled("DisplayBatchBtn"));

  click("GoTopBtn");
  EXPECT_TRUE(enabled("StepBatchBtn"));
  EXPECT_TRUE(enabled("RunBatchBtn"));
  EXPECT_FALSE(enabled("GoTopBtn"));
  click("StepBatchBtn");
  EXPECT_EQ(rawFrames(1), std::vector<std::string>{frame("$012", false)});
  EXPECT_EQ(shownLines()[4], ">$012");
}

TEST_F(TerminalBatchTest, DisplayAfterTwoStepsShowsTheWholeFileAndStepGoesOn) {
  start({simModule("7213", 1)});
  chooseBatchFile(writeFile("three.txt", "$012\n$01M\n$01F"));
  click("StepBatchBtn");
  click("StepBatchBtn");
  QString shown;
  ui_->modalHandlers["DispBatchForm"] = [&shown](QDialog& dialog) {
    shown = dialog.findChild<QPlainTextEdit*>("BatchContent")->toPlainText();
    EXPECT_EQ(dialog.windowTitle(), "Batch File Content");
    dialog.findChild<QPushButton*>("ExitBtn")->click();
    return dialog.result();
  };
  click("DisplayBatchBtn");
  EXPECT_EQ(shown, "$012\n$01M\n$01F\n");
  rawFrames(2);
  click("StepBatchBtn");
  EXPECT_EQ(rawFrames(1), std::vector<std::string>{frame("$01F", false)});
  EXPECT_FALSE(enabled("StepBatchBtn"));
}

TEST_F(TerminalBatchTest, RunSendsEveryPassInFileOrderAndStopEndsTheFirstPass) {
  start({simModule("7213", 1)});
  const std::string log = path("run.log");
  lineEdit("LogFileName").setText(QString::fromStdString(log));
  checkBox("LogToFile").click();
  chooseBatchFile(writeFile("two.txt", "$012\r\n$01M"));
  setRepeatTimes("3");
  ASSERT_EQ(context_->BatchRepeatCount, 3);
  click("StepBatchBtn");
  rawFrames(1);

  click("RunBatchBtn");
  const std::vector<std::string> pass{frame("$012", false), frame("$01M", false)};
  std::vector<std::string> expected;
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), pass.begin(), pass.end());
  EXPECT_EQ(rawFrames(6), expected) << "a Run starts at the first line, whatever Step consumed";
  EXPECT_EQ(readFile(log), "$012\r\n$012\r\n$01M\r\n$012\r\n$01M\r\n$012\r\n$01M\r\n");
  EXPECT_TRUE(enabled("RunBatchBtn"));
  EXPECT_FALSE(enabled("StopBatchBtn"));

  // Stop after the first line; a command typed while the run waits goes out
  // between its lines.
  int yields = 0;
  ui_->onYield = [&] {
    if (++yields != 1) return;
    EXPECT_TRUE(enabled("StopBatchBtn"));
    for (const char* name :
         {"RunBatchBtn", "StepBatchBtn", "DisplayBatchBtn", "RepeatBtn", "GoTopBtn"})
      EXPECT_FALSE(enabled(name)) << name;
    type("$01F");
    click("StopBatchBtn");
  };
  click("RunBatchBtn");
  EXPECT_EQ(rawFrames(2), (std::vector<std::string>{frame("$012", false), frame("$01F", false)}));
  EXPECT_EQ(yields, 1);
  EXPECT_TRUE(enabled("RunBatchBtn"));
  EXPECT_TRUE(enabled("GoTopBtn")) << "Go Top keeps its state";
  ui_->onYield = nullptr;
  click("StepBatchBtn");
  EXPECT_EQ(rawFrames(1), std::vector<std::string>{frame("$012", false)}) << "the file was rewound";
}

TEST_F(TerminalBatchTest, BatchLinesFollowTheCheckBoxAlsoForAddressZero) {
  auto atInit = simModule("7213", 5);
  atInit.initState = true;
  start({atInit});
  checkBox("CheckSumEnable").setChecked(true);
  chooseBatchFile(writeFile("zero.txt", "$002\r\n\r\n"));
  context_->BatchRepeatCount = 1;
  click("RunBatchBtn");
  EXPECT_EQ(rawFrames(2), (std::vector<std::string>{frame("$002", true), "00\r"}))
      << "an empty line is an empty command";
}

TEST_F(TerminalBatchTest, RunWithZeroPassesSendsNothing) {
  start({simModule("7213", 1)});
  chooseBatchFile(writeFile("one.txt", "$012\r\n"));
  setRepeatTimes("0");
  ASSERT_EQ(context_->BatchRepeatCount, 0);
  click("RunBatchBtn");
  EXPECT_TRUE(rawFrames().empty());
  EXPECT_TRUE(enabled("RunBatchBtn"));
}

TEST_F(TerminalBatchTest, BatchFileThatCannotBeOpenedLeavesTheButtonsDisabled) {
  start({simModule("7213", 1)});
  chooseBatchFile(path("none.txt"));
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_EQ(ui_->messages[0].text, "Error opening file.");
  EXPECT_EQ(ui_->messages[0].title, "Error");
  for (const char* name :
       {"RunBatchBtn", "StepBatchBtn", "StopBatchBtn", "DisplayBatchBtn", "GoTopBtn", "RepeatBtn"})
    EXPECT_FALSE(enabled(name)) << name;

  chooseBatchFile("");
  EXPECT_TRUE(lineEdit("BatchFileName").text().isEmpty()) << "a cancelled dialog";
  EXPECT_EQ(ui_->messages.size(), 1u);
  EXPECT_FALSE(enabled("StepBatchBtn"));
}

TEST_F(TerminalBatchTest, BatchFileThatIsNoRegularFileIsRefusedWithoutBlocking) {
  start({simModule("7213", 1)});
  GuardedFifo fifo(path("fifo"));
  for (const std::string& name : {fifo.path(), std::string("/dev/zero"), path("")}) {
    ui_->messages.clear();
    chooseBatchFile(name);
    ASSERT_EQ(ui_->texts(), std::vector<QString>{"Error opening file."}) << name;
    EXPECT_FALSE(enabled("RunBatchBtn")) << name;
    EXPECT_FALSE(enabled("DisplayBatchBtn")) << name;
  }
  EXPECT_TRUE(rawFrames().empty());
}

TEST_F(TerminalBatchTest, RepeatedCommandIsCutToSixteenCharacters) {
  start({simModule("7213", 1)});
  const std::string log = path("repeat.log");
  lineEdit("LogFileName").setText(QString::fromStdString(log));
  checkBox("LogToFile").click();
  ui_->modalHandlers["RepeatCmdForm"] = [](QDialog& dialog) {
    EXPECT_EQ(dialog.findChild<QLineEdit*>("RepeatCmd")->text(), QString(16, ' '));
    EXPECT_EQ(dialog.findChild<QLineEdit*>("RepeatTimes")->text(), "1");
    dialog.findChild<QLineEdit*>("RepeatCmd")->setText("$012ABCDEFGHIJKLMNOP");
    dialog.findChild<QLineEdit*>("RepeatTimes")->setText("2");
    dialog.findChild<QPushButton*>("OKBtn")->click();
    return dialog.result();
  };
  click("RepeatCmdBtn");
  EXPECT_EQ(context_->RepeatCommand, "$012ABCDEFGHIJKL");
  EXPECT_EQ(rawFrames(2), std::vector<std::string>(2, frame("$012ABCDEFGHIJKL", false)));
  EXPECT_EQ(readFile(log), "$012ABCDEFGHIJKL\r\n$012ABCDEFGHIJKL\r\n");

  // A short command is padded to its field and sent trimmed.
  ui_->modalHandlers["RepeatCmdForm"] = [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("RepeatCmd")->setText("$01M");
    dialog.findChild<QLineEdit*>("RepeatTimes")->setText("1");
    dialog.findChild<QPushButton*>("OKBtn")->click();
    return dialog.result();
  };
  click("RepeatCmdBtn");
  EXPECT_EQ(context_->RepeatCommand, "$01M            ");
  EXPECT_EQ(rawFrames(1), std::vector<std::string>{frame("$01M", false)});
  EXPECT_EQ(shownLines()[4], ">$01M            ");
}

TEST_F(TerminalBatchTest, CancelOfRepeatCommandSendsNothing) {
  start({simModule("7213", 1)});
  context_->RepeatCommand = "$012            ";
  context_->RepeatCommandCount = 5;
  ui_->modalHandlers["RepeatCmdForm"] = [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("RepeatTimes")->setText("3");
    dialog.findChild<QPushButton*>("CancelBtn")->click();
    return dialog.result();
  };
  click("RepeatCmdBtn");
  EXPECT_EQ(context_->RepeatCommandCount, 0);
  EXPECT_EQ(context_->RepeatCommand, "$012            ");
  EXPECT_TRUE(rawFrames().empty());
  EXPECT_TRUE(shownLines().empty());
}

}  // namespace
}  // namespace orvane::admin
