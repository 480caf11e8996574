// The monitor's Record… against the simulator: a row per module per pass in
// the file at the end of every pass, complete when the window closes, a
// record that grows when chosen again, the question before anything else is
// replaced, and a FIFO, a read-only file or a full disk named in one message
// instead of a hang.
#include <sys/stat.h>

#include <QCoreApplication>
#include <QPushButton>
#include <fstream>

#include "comma_locale.h"
#include "tests/admin/core/sim_modules.h"
#include "tests/admin/diag/csv_reader.h"
#include "tests/admin/diag/file_size_limit.h"
#include "tests/admin/diag/monitor_fixture.h"
#include "tests/admin/terminal/guarded_fifo.h"

namespace orvane::admin {
namespace {

using namespace testing;

const std::vector<std::string> kHeader{"Time", "Address", "Model",   "AD/DA Data",
                                       "Unit", "DI",      "Counter", "DO/Alarm"};

class MonitorRecordTest : public MonitorFixture {
 protected:
  std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }
  QPushButton& recordButton() const {
    return *form_->findChild<QPushButton*>(QStringLiteral("RecordBtn"));
  }
  // Record… answered with the path.
  void record(const std::string& target) {
    ui_->fileAnswers.push_back(QString::fromStdString(target));
    recordButton().click();
  }
  std::vector<QString> messages() {
    QCoreApplication::processEvents();
    return ui_->texts();
  }
};

TEST_F(MonitorRecordTest, ARowPerModulePerPassInTheFileAtOnceAndCompleteAfterClose) {
  orvane::test::CommaLocale locale;
  ASSERT_TRUE(locale.active());
  listInputAndOutput();
  context_->DecimalSeparator = ',';
  open();
  EXPECT_EQ(recordButton().text(), "Record…");
  const std::string file = path("monitor.csv");
  record(file);
  EXPECT_EQ(ui_->fileDialogTitles.back(), "Record");
  EXPECT_EQ(ui_->fileDialogFilters.back(), "CSV Files (*.csv);;All Files (*)");
  ASSERT_TRUE(form_->recording());
  EXPECT_EQ(recordButton().text(), "Stop recording");
  EXPECT_EQ(parseCsv(readFile(file)), CsvRows{kHeader}) << "the header at once";
  for (std::size_t pass = 1; pass <= 3; ++pass) {
    tick();
    EXPECT_EQ(parseCsv(readFile(file)).size(), 1 + 2 * pass) << "in the file after pass " << pass;
  }
  EXPECT_EQ(cell(0, kData), "+15,32mV") << "the grid keeps the user's separator";
  form_->findChild<QPushButton*>(QStringLiteral("ExitBtn"))->click();
  EXPECT_FALSE(form_->recording());

  const CsvRows rows = parseCsv(readFile(file));
  ASSERT_EQ(rows.size(), 7u) << "the header once and every pass that ended";
  EXPECT_EQ(rows[0], kHeader);
  for (std::size_t r = 1; r < rows.size(); ++r) {
    ASSERT_EQ(rows[r].size(), kHeader.size());
    using Fields = std::vector<std::string>;
    const Fields expected = r % 2 == 1 ? Fields{"7", "7231", "15.32", "mV", "", "", ""}
                                       : Fields{"8", "7342", "12.5", "mA", "", "", ""};
    EXPECT_EQ(Fields(rows[r].begin() + 1, rows[r].end()), expected) << "row " << r;
    EXPECT_TRUE(
        QDateTime::fromString(QString::fromStdString(rows[r][0]), Qt::ISODateWithMs).isValid())
        << rows[r][0];
  }
  EXPECT_TRUE(messages().empty());
}

TEST_F(MonitorRecordTest, ARecordChosenAgainGrowsAndAnythingElseIsReplacedOnlyOnYes) {
  listInputAndOutput();
  open();
  const std::string file = path("monitor.csv");
  record(file);
  tick();
  recordButton().click();
  EXPECT_FALSE(form_->recording()) << "Stop recording";
  EXPECT_EQ(recordButton().text(), "Record…");
  tick();
  EXPECT_EQ(parseCsv(readFile(file)).size(), 3u) << "nothing after Stop";
  record(file);
  tick();
  CsvRows rows = parseCsv(readFile(file));
  ASSERT_EQ(rows.size(), 5u) << "appended";
  EXPECT_EQ(std::count(rows.begin(), rows.end(), kHeader), 1) << "the header once";
  recordButton().click();
  EXPECT_TRUE(ui_->messages.empty()) << "a record of the monitor grows without a question";

  const std::string notes = path("notes.csv");
  { std::ofstream(notes) << "a,b\r\n1,2\r\n"; }
  ui_->answers.push_back(QMessageBox::No);
  record(notes);
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_EQ(ui_->messages[0].text,
            QString::fromStdString(notes) + " is not a record of the monitor. Replace it?");
  EXPECT_EQ(ui_->messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_FALSE(form_->recording());
  tick();
  EXPECT_EQ(readFile(notes), "a,b\r\n1,2\r\n") << "No leaves it as it was";

  ui_->answers.push_back(QMessageBox::Yes);
  record(notes);
  ASSERT_TRUE(form_->recording());
  tick();
  rows = parseCsv(readFile(notes));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], kHeader);
}

TEST_F(MonitorRecordTest, AFifoOrAReadOnlyFileIsRefusedWithAMessageNotAHang) {
  listInputAndOutput();
  open();
  GuardedFifo fifo(path("fifo"));
  const std::string readOnly = path("read-only.csv");
  { std::ofstream(readOnly) << "kept\n"; }
  ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
  const std::vector<std::pair<std::string, QString>> cases{
      {path("fifo"), "is not a regular file"},
      {"/dev/null", "is not a regular file"},
      {readOnly, "is read-only"},
  };
  for (const auto& [target, cause] : cases) {
    ui_->messages.clear();
    record(target);
    EXPECT_FALSE(form_->recording()) << target;
    EXPECT_EQ(recordButton().text(), "Record…");
    ASSERT_EQ(ui_->messages.size(), 1u) << target;
    EXPECT_EQ(ui_->messages[0].title, "Error");
    EXPECT_EQ(
        ui_->messages[0].text,
        QStringLiteral("Cannot record to %1: %2.").arg(QString::fromStdString(target), cause));
  }
  EXPECT_EQ(readFile(readOnly), "kept\n");
}

TEST_F(MonitorRecordTest, AFailedWriteStopsTheRecordingWithOneMessage) {
  listInputAndOutput();
  open();
  const std::string file = path("monitor.csv");
  record(file);
  tick();
  const std::string recorded = readFile(file);
  {
    FileSizeLimit limit(recorded.size() + 10);
    ASSERT_TRUE(limit.active());
    tick();
  }
  EXPECT_FALSE(form_->recording());
  EXPECT_EQ(recordButton().text(), "Record…");
  tick();
  const std::vector<QString> shown = messages();
  ASSERT_EQ(shown.size(), 1u) << "one message, however many passes follow";
  EXPECT_EQ(shown[0], QStringLiteral("Cannot write the record %1: File too large. Recording "
                                     "stopped.")
                          .arg(QString::fromStdString(file)));
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_EQ(readFile(file), recorded) << "every pass that ended, no half row";
}

TEST_F(MonitorRecordTest, AnEmptyListHasNothingToRecord) {
  startNetwork({simModule("7451", 1)});
  openPort();
  context_->ModuleCount = 0;
  open();
  EXPECT_FALSE(recordButton().isEnabled());
}

}  // namespace
}  // namespace orvane::admin
