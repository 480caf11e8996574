// The terminal's widget-free rules, and its repeat dialogs, without a line.
#include <sys/stat.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <fstream>

#include "admin/terminal/batch_file.h"
#include "admin/terminal/command_history.h"
#include "admin/terminal/command_log.h"
#include "admin/terminal/display_ring.h"
#include "admin/terminal/repeat_cmd_form.h"
#include "admin/terminal/repeat_form.h"
#include "admin/terminal/terminal_addressing.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/read_file.h"
#include "tests/admin/terminal/guarded_fifo.h"

namespace orvane::admin {
namespace {

using namespace testing;

TEST(DisplayRingTest, ScrollsWholeExchangesOldestFirstLongAfterItIsFull) {
  DisplayRing ring;
  EXPECT_TRUE(ring.lines().empty());
  EXPECT_EQ(ring.entryRow(), 0);
  for (int n = 1; n <= 40; ++n) {
    ring.append("c" + std::to_string(n), "r" + std::to_string(n));
    const auto lines = ring.lines();
    const int shown = std::min(n, 6);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(2 * shown));
    for (int j = 0; j < shown; ++j) {
      const int exchange = n - shown + 1 + j;
      EXPECT_EQ(lines[static_cast<std::size_t>(2 * j)], ">c" + std::to_string(exchange));
      EXPECT_EQ(lines[static_cast<std::size_t>(2 * j + 1)], "r" + std::to_string(exchange));
    }
    EXPECT_EQ(ring.entryRow(), 2 * shown);
  }
  ring.clear();
  EXPECT_TRUE(ring.lines().empty());
}

class AddressingTest : public AdminFixture {};

TEST_F(AddressingTest, ListedAddressesGoAtTheFirstMatchingEntrysRate) {
  setEntry(0, "7213", 0x1A, 5, 0);
  setEntry(1, "7213", 3, 4, 0);
  setEntry(2, "7213", 3, 6, 1);
  setEntry(3, "7213", 9, 7, 0);  // beyond ModuleCount
  context_->ModuleCount = 3;
  const auto link = [this](std::string_view command, bool box, AddressingRule rule) {
    const auto chosen = terminalLink(*context_, command, box, rule);
    return std::pair{chosen.checksumFlag, chosen.baudCode};
  };
  using enum AddressingRule;
  EXPECT_EQ(link("$032", true, Typed), (std::pair{1, 4}));
  EXPECT_EQ(link("$032", false, Batch), (std::pair{0, 4}));
  EXPECT_EQ(link("#1a", true, Typed), (std::pair{1, 5})) << "lower-case digits";
  EXPECT_EQ(link("  $1A2", false, Typed), (std::pair{0, 5})) << "the link trims blanks";
  EXPECT_EQ(link("$092", true, Typed), (std::pair{1, 3})) << "not among the listed entries";
  EXPECT_EQ(link("$002", true, Typed), (std::pair{0, 3}));
  EXPECT_EQ(link("$002", true, Batch), (std::pair{1, 3}));
  EXPECT_EQ(link("#**", true, Typed), (std::pair{1, 3}));
  EXPECT_EQ(link("~", false, Typed), (std::pair{0, 3}));
  EXPECT_EQ(link("$3", true, Typed), (std::pair{1, 3}));
  EXPECT_EQ(commandAddress("%0G"), std::nullopt);
  EXPECT_EQ(commandAddress("@FF"), 255);
}

std::string writeTemp(const QTemporaryDir& dir, const std::string& content) {
  const std::string path = dir.filePath("batch.txt").toStdString();
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

TEST(BatchFileTest, EveryLineIsACommandWhateverItsLineEnd) {
  QTemporaryDir dir;
  BatchFile file;
  EXPECT_TRUE(file.atEnd()) << "closed";
  ASSERT_TRUE(file.open(writeTemp(dir, "$012\r\n\r\n  #01 \n$01M")));
  EXPECT_EQ(file.readToEnd(), (std::vector<std::string>{"$012", "", "  #01 ", "$01M"}));
  EXPECT_TRUE(file.atEnd());
  EXPECT_EQ(file.readLine(), "");

  file.rewind();
  file.skipLines(2);
  EXPECT_EQ(file.readLine(), "  #01 ");
  file.skipLines(5);
  EXPECT_TRUE(file.atEnd());

  ASSERT_TRUE(file.open(writeTemp(dir, "$012\r\n")));
  EXPECT_EQ(file.readToEnd(), std::vector<std::string>{"$012"}) << "no empty line after the last";
  ASSERT_TRUE(file.open(writeTemp(dir, "")));
  EXPECT_TRUE(file.atEnd());
  EXPECT_FALSE(file.open(dir.filePath("none.txt").toStdString()));
  EXPECT_FALSE(file.open(dir.path().toStdString())) << "a directory";
  EXPECT_FALSE(file.isOpen());
}

TEST(BatchFileTest, OnlyARegularFileOpensAndAFifoDoesNotBlockTheOpen) {
  QTemporaryDir dir;
  BatchFile file;
  testing::GuardedFifo fifo(dir.filePath("fifo").toStdString());
  EXPECT_FALSE(file.open(fifo.path())) << "a FIFO";
  EXPECT_FALSE(file.isOpen());
  EXPECT_FALSE(file.open("/dev/zero")) << "a device that never ends";
  EXPECT_FALSE(file.isOpen());
  EXPECT_TRUE(file.atEnd());
  ASSERT_TRUE(file.open(writeTemp(dir, "$012\r\n")));
  EXPECT_FALSE(file.open(fifo.path())) << "a refused open closes the file before";
  EXPECT_TRUE(file.atEnd());
}

TEST(BatchFileTest, ALongLineIsCutAndItsRestSkipped) {
  constexpr std::size_t kLimit = 4096;
  QTemporaryDir dir;
  BatchFile file;
  const std::string longLine = std::string(kLimit, 'A') + std::string(3 * kLimit, 'B');
  const std::string exact = std::string(kLimit - 1, 'C') + 'D';
  ASSERT_TRUE(file.open(
      writeTemp(dir, longLine + "\r\n$012\r\n" + exact + "\r\n" + exact + "\n" + longLine + "\r")));
  EXPECT_EQ(file.readLine(), std::string(kLimit, 'A'));
  EXPECT_EQ(file.readLine(), "$012") << "the next line is the next command";
  EXPECT_EQ(file.readLine(), exact) << "a line of exactly the limit loses only its CR";
  EXPECT_EQ(file.readLine(), exact);
  EXPECT_EQ(file.readLine(), std::string(kLimit, 'A')) << "a long last line without LF";
  EXPECT_TRUE(file.atEnd());

  file.rewind();
  file.skipLines(1);
  EXPECT_EQ(file.readLine(), "$012");
  file.rewind();
  const auto lines = file.readToEnd();
  ASSERT_EQ(lines.size(), 5u);
  for (const auto& line : lines) EXPECT_LE(line.size(), kLimit);
}

TEST(CommandLogTest, WritesTrimmedLinesAndNamesTheCauseOfAFailure) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("log.txt").toStdString();
  std::ofstream(path) << "old content\n";
  CommandLog log;
  EXPECT_EQ(log.writeLine("$012"), "") << "closed: nothing to write";
  ASSERT_EQ(log.create(path), "");
  EXPECT_EQ(readFile(path), "") << "an existing file is emptied";
  EXPECT_EQ(log.writeLine("  $012 "), "");
  EXPECT_EQ(log.writeLine(""), "");
  EXPECT_EQ(readFile(path), "$012\r\n\r\n");
  log.close();
  EXPECT_FALSE(log.isOpen());
  EXPECT_EQ(log.create(dir.path().toStdString()), "Is a directory");
  EXPECT_FALSE(log.isOpen());
  // A FIFO without a reader would block the terminal; a device is no log.
  const std::string fifo = dir.filePath("fifo").toStdString();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& notAFile : {fifo, std::string("/dev/null")}) {
    EXPECT_EQ(log.create(notAFile), "is not a regular file") << notAFile;
    EXPECT_FALSE(log.isOpen());
  }
}

TEST(CommandHistoryTest, KeepsARepeatedCommandOnceAndANewCommandEndsTheRecall) {
  CommandHistory history;
  EXPECT_EQ(history.older("typing"), "typing");
  history.add("$01M");
  history.add("$012");
  history.add("$012");
  history.add("   ");
  EXPECT_EQ(history.older(""), "$012");
  EXPECT_EQ(history.older("$012"), "$01M");
  EXPECT_EQ(history.older("$01M"), "$01M") << "the oldest stays";
  history.add("#01");
  EXPECT_EQ(history.older(""), "#01");
}

class RepeatDialogTest : public AdminFixture {
 protected:
  template <typename Form>
  static void typeTimes(Form& form, const QString& text) {
    form.template findChild<QLineEdit*>("RepeatTimes")->setText(text);
  }
  template <typename Form>
  static void press(Form& form, const char* name) {
    form.template findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
  }
};

TEST_F(RepeatDialogTest, RepeatFormRefusesEmptyAndTooLargeAndCancelKeepsTheCount) {
  context_->BatchRepeatCount = 4;
  RepeatForm form(*context_);
  auto* times = form.findChild<QLineEdit*>("RepeatTimes");
  EXPECT_EQ(form.windowTitle(), "Repeat");
  EXPECT_EQ(times->text(), "4");

  typeTimes(form, "");
  press(form, "OKBtn");
  typeTimes(form, "32768");
  press(form, "OKBtn");
  EXPECT_EQ(ui_->texts(),
            (std::vector<QString>{"Please input a number.", "Number can not exceed 32767."}));
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_EQ(form.result(), QDialog::Rejected);
  EXPECT_EQ(context_->BatchRepeatCount, 4);

  QTest::keyClicks(times, "x");
  EXPECT_EQ(times->text(), "32768") << "only digits are typed";
  EXPECT_EQ(ui_->beeps, 1);
  press(form, "TimesSpinUp");
  EXPECT_EQ(times->text(), "32767") << "typed beyond the limit, spun back into it";
  press(form, "TimesSpinUp");
  EXPECT_EQ(times->text(), "32767");
  typeTimes(form, "2");
  press(form, "TimesSpinDown");
  press(form, "TimesSpinDown");
  EXPECT_EQ(times->text(), "1");

  press(form, "CancelBtn");
  EXPECT_EQ(context_->BatchRepeatCount, 4);
  RepeatForm again(*context_);
  typeTimes(again, "0");
  press(again, "OKBtn");
  EXPECT_EQ(again.result(), QDialog::Accepted);
  EXPECT_EQ(context_->BatchRepeatCount, 0);
}

TEST_F(RepeatDialogTest, RepeatCmdFormTakesCommandAndCountOnlyWithOK) {
  context_->RepeatCommand = "$012            ";
  context_->RepeatCommandCount = 3;
  RepeatCmdForm form(*context_);
  EXPECT_EQ(form.findChild<QLineEdit*>("RepeatCmd")->text(), "$012            ");
  EXPECT_EQ(form.findChild<QLineEdit*>("RepeatTimes")->text(), "3");
  form.findChild<QLineEdit*>("RepeatCmd")->setText("#01");
  typeTimes(form, "40000");
  press(form, "OKBtn");
  EXPECT_EQ(ui_->texts(), std::vector<QString>{"Number can not exceed 32767."});
  EXPECT_EQ(context_->RepeatCommand, "$012            ") << "nothing taken from a refused OK";
  typeTimes(form, "12");
  press(form, "OKBtn");
  EXPECT_EQ(context_->RepeatCommand, "#01             ");
  EXPECT_EQ(context_->RepeatCommandCount, 12);

  RepeatCmdForm escaped(*context_);
  escaped.show();
  QTest::keyClick(&escaped, Qt::Key_Escape);
  EXPECT_EQ(context_->RepeatCommandCount, 0) << "Escape is Cancel";
}

}  // namespace
}  // namespace orvane::admin
