// Save… of the analog input and multi-function test windows against the
// simulator: the trend's samples as a CSV file, read back as a spreadsheet
// reads it (columns, units, gaps, "." under a comma locale), and a target
// that cannot be written named in a message.
#include <sys/stat.h>

#include <QPushButton>
#include <fstream>

#include "admin/diag/ad_diag_form.h"
#include "admin/diag/multi_diag_form.h"
#include "comma_locale.h"
#include "tests/admin/diag/csv_reader.h"
#include "tests/admin/diag/diag_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;

const QString kCsvFilter = QStringLiteral("CSV Files (*.csv);;All Files (*)");

class ReadingsExportTest : public DiagFixture {
 protected:
  std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }

  // Save… answered with the path (empty: cancelled); the file read back.
  CsvRows save(const std::string& target) {
    ui_->fileAnswers.push_back(QString::fromStdString(target));
    control<QPushButton>(QStringLiteral("SaveBtn")).click();
    return parseCsv(readFile(target));
  }

  // Every time cell is a local time with its offset, in the order of the
  // ticks, in the last minute.
  static void expectTimesInOrder(const CsvRows& rows) {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    qint64 previous = now - 60000;
    for (std::size_t r = 1; r < rows.size(); ++r) {
      const QDateTime time =
          QDateTime::fromString(QString::fromStdString(rows[r][0]), Qt::ISODateWithMs);
      ASSERT_TRUE(time.isValid() && time.timeSpec() != Qt::LocalTime) << rows[r][0];
      EXPECT_GE(time.toMSecsSinceEpoch(), previous) << rows[r][0];
      EXPECT_LE(time.toMSecsSinceEpoch(), now) << rows[r][0];
      previous = time.toMSecsSinceEpoch();
    }
  }
};

TEST_F(ReadingsExportTest, AnalogInputsOneColumnPerPolledChannelAndAGapForAFailure) {
  orvane::test::CommaLocale locale;
  ASSERT_TRUE(locale.active());
  auto m = simModule("7231", 3);
  m.typeCode = 0x08;     // +/- 10V
  m.channelMask = 0xDF;  // channel 5 disabled
  m.inputs[0] = {.shape = sim::Signal::Shape::Constant, .value = 2.5};
  m.inputs[1] = {.shape = sim::Signal::Shape::Constant, .value = -1.25};
  start({m});
  context_->DecimalSeparator = ',';
  open<AdDiagForm>();
  tick();
  network_->setFault(3, "#AA1", sim::FaultSpec{.silent = true});
  tick();
  EXPECT_EQ(text("Reading(1)"), "*error*");

  const CsvRows rows = save(path("ad.csv"));
  EXPECT_EQ(ui_->fileDialogFilters.back(), kCsvFilter);
  ASSERT_EQ(rows.size(), 3u) << "the header and a row per tick";
  EXPECT_EQ(rows[0], (std::vector<std::string>{"Time", "Channel 0 (V)", "Channel 1 (V)",
                                               "Channel 2 (V)", "Channel 3 (V)", "Channel 4 (V)",
                                               "Channel 6 (V)", "Channel 7 (V)"}))
      << "no column for the disabled channel";
  for (const auto& row : rows) ASSERT_EQ(row.size(), rows[0].size());
  EXPECT_EQ(rows[1][1], "2.5");
  EXPECT_EQ(rows[1][2], "-1.25");
  EXPECT_EQ(rows[2][1], "2.5");
  EXPECT_EQ(rows[2][2], "") << "a failed reading is an empty cell, never 0";
  expectTimesInOrder(rows);
  EXPECT_TRUE(ui_->messages.empty());
}

TEST_F(ReadingsExportTest, MultiFunctionReadingWithItsUnit) {
  auto m = simModule("7215", 5);
  m.typeCode = 0x08;
  m.inputs[0] = {.shape = sim::Signal::Shape::Constant, .value = 6.75};
  start({m});
  open<MultiDiagForm>();
  for (int i = 0; i < 3; ++i) tick();
  const CsvRows rows = save(path("multi.csv"));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"Time", "Reading (V)"}));
  for (std::size_t r = 1; r < rows.size(); ++r) EXPECT_EQ(rows[r][1], "6.75");
  expectTimesInOrder(rows);
}

TEST_F(ReadingsExportTest, ACancelledDialogWritesNothingAndAReadOnlyFileStaysAsItIs) {
  auto m = simModule("7215", 5);
  start({m});
  open<MultiDiagForm>();
  tick();
  save("");
  EXPECT_TRUE(ui_->messages.empty()) << "cancelled: nothing to say";

  const std::string kept = path("kept.csv");
  { std::ofstream(kept) << "the user's own\n"; }
  ASSERT_EQ(::chmod(kept.c_str(), 0444), 0);
  ui_->fileAnswers.push_back(QString::fromStdString(kept));
  control<QPushButton>(QStringLiteral("SaveBtn")).click();
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_TRUE(ui_->messages[0].text.startsWith("Cannot save the readings: "));
  EXPECT_TRUE(ui_->messages[0].text.contains(QString::fromStdString(kept)));
  EXPECT_TRUE(ui_->messages[0].text.contains("is read-only"))
      << ui_->messages[0].text.toStdString();
  EXPECT_EQ(readFile(kept), "the user's own\n");
}

}  // namespace
}  // namespace orvane::admin
