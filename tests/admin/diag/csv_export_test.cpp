// The CSV texts of the diagnostic windows and the monitor, read back as a
// spreadsheet reads them: quoting, numbers with "." under a comma locale,
// times with their offset, the trend's rows and gaps, the record's columns.
#include <gtest/gtest.h>

#include <QTimeZone>
#include <cmath>
#include <limits>

#include "admin/diag/csv_text.h"
#include "admin/diag/monitor_columns.h"
#include "admin/diag/monitor_record.h"
#include "admin/diag/trend_csv.h"
#include "admin/diag/trend_plot.h"
#include "comma_locale.h"
#include "tests/admin/diag/csv_reader.h"

namespace orvane::admin {
namespace {

using testing::CsvRows;
using testing::parseCsv;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

// The time of a CSV cell, to the millisecond since the epoch; -1 when the
// cell is no ISO 8601 time with an offset.
qint64 msecsOf(const std::string& cell) {
  const QDateTime time = QDateTime::fromString(QString::fromStdString(cell), Qt::ISODateWithMs);
  return time.isValid() && time.timeSpec() != Qt::LocalTime ? time.toMSecsSinceEpoch() : -1;
}

TEST(CsvText, FieldsAreQuotedOnlyWhereASpreadsheetNeedsIt) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"7213", "7213"},
      {"", ""},
      {"AD/DA Data", "AD/DA Data"},
      {"1,5", "\"1,5\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {"cr\r", "\"cr\r\""},
  };
  std::vector<std::string> fields;
  for (const auto& [text, quoted] : cases) {
    EXPECT_EQ(csvField(text), quoted) << text;
    fields.push_back(text);
  }
  const std::string line = csvLine(fields);
  ASSERT_TRUE(line.ends_with("\r\n"));
  EXPECT_EQ(parseCsv(line), CsvRows{fields}) << "read back field for field";
}

TEST(CsvText, NumbersKeepTheirPointUnderACommaLocale) {
  orvane::test::CommaLocale locale;
  ASSERT_TRUE(locale.active());
  EXPECT_EQ(csvNumber(1.5), "1.5");
  EXPECT_EQ(csvNumber(-12.25), "-12.25");
  EXPECT_EQ(csvNumber(0.0), "0");
  EXPECT_EQ(csvNumber(150.0), "150");
  EXPECT_EQ(csvNumber(kNan), "") << "a failed reading is an empty cell";
}

TEST(CsvText, TimesCarryMillisecondsAndTheirOffset) {
  const QDate date(2026, 12, 10);
  const QTime time(14, 3, 22, 125);
  EXPECT_EQ(csvTime(QDateTime(date, time, QTimeZone(3600))), "2026-12-10T14:03:22.125+01:00");
  EXPECT_EQ(csvTime(QDateTime(date, time, QTimeZone(-(5 * 3600 + 30 * 60)))),
            "2026-12-10T14:03:22.125-05:30");
  EXPECT_EQ(csvTime(QDateTime(date, QTime(1, 2, 3, 4), QTimeZone(0))),
            "2026-12-10T01:02:03.004+00:00");
  orvane::test::CommaLocale locale;
  const QDateTime now = QDateTime::currentDateTime();
  EXPECT_EQ(msecsOf(csvTime(now)), now.toMSecsSinceEpoch()) << csvTime(now);
}

class TrendCsvTest : public ::testing::Test {
 protected:
  TrendCsvTest() { plot_.setTraceCount(3); }

  CsvRows csv(const std::vector<TrendColumn>& columns) const {
    return parseCsv(trendCsv(plot_, columns, TrendClock(100.1, wallNow_)));
  }

  TrendPlot plot_;
  const QDateTime wallNow_ = QDateTime(QDate(2026, 12, 10), QTime(14, 0), QTimeZone(3600));
};

TEST_F(TrendCsvTest, OneRowPerTickOfTheLastMinuteWithGapsAsEmptyCells) {
  orvane::test::CommaLocale locale;
  ASSERT_TRUE(locale.active());
  // Ticks at 10 s (too old), 50 s, 100 s and 100.1 s; trace 2 is not saved
  // and has a sample of its own at 100.05 s.
  plot_.addSample(0, 10, 9.0);
  plot_.addSample(0, 50, 0.5);
  plot_.addSample(1, 50, 2.0);
  plot_.addSample(0, 100, 1.5);
  plot_.addSample(1, 100, kNan);
  plot_.addSample(2, 100, 7.0);
  plot_.addSample(2, 100.05, 7.5);
  plot_.addSample(0, 100.1, -2.25);
  plot_.addSample(2, 100.1, 8.0);
  const CsvRows rows = csv({{0, "Channel 0 (V)"}, {1, "Channel 1 (V)"}});
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"Time", "Channel 0 (V)", "Channel 1 (V)"}));
  const std::vector<std::vector<std::string>> values{{"0.5", "2"}, {"1.5", ""}, {"-2.25", ""}};
  const std::vector<qint64> msBeforeNow{50100, 100, 0};
  for (std::size_t r = 0; r < values.size(); ++r) {
    const auto& row = rows[r + 1];
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(msecsOf(row[0]), wallNow_.toMSecsSinceEpoch() - msBeforeNow[r]) << row[0];
    EXPECT_EQ(std::vector<std::string>(row.begin() + 1, row.end()), values[r]) << "row " << r;
  }
}

TEST_F(TrendCsvTest, AnEmptyTrendIsTheHeaderAlone) {
  EXPECT_EQ(csv({{0, columnHeading("Reading", "mV")}}), (CsvRows{{"Time", "Reading (mV)"}}));
  EXPECT_EQ(columnHeading("Channel 3", ""), "Channel 3");
  plot_.addSample(1, 5, 1.0);
  EXPECT_EQ(csv({{0, "Reading"}, {7, "No such trace"}}),
            (CsvRows{{"Time", "Reading", "No such trace"}}))
      << "a trace that is not saved gives no rows";
}

TEST(MonitorRecord, ColumnsForASpreadsheet) {
  const QDateTime time(QDate(2026, 12, 10), QTime(9, 30, 0, 5), QTimeZone(3600));
  const std::string at = "2026-12-10T09:30:00.005+01:00";
  struct Case {
    MonitorRecordEntry entry;
    MonitorValue value;
    MonitorRow row;
    std::vector<std::string> fields;  // after the time
  };
  const QString blanks(12, QLatin1Char(' '));
  const std::vector<Case> cases{
      {{18, "7213", MonitorPoll::MultiFunction},
       {"1.5", "mV"},
       {"+1,5mV", "1/12", "LowAlarm"},
       {"18", "7213", "1.5", "mV", "1", "12", "LowAlarm"}},
      {{18, "7213", MonitorPoll::MultiFunction},
       {"", "mV"},
       {"*error*mV", "*/7", blanks},
       {"18", "7213", "", "mV", "*", "7", ""}},
      {{18, "7213", MonitorPoll::MultiFunction},
       {"-3", "C"},
       {"-3C", "0", "01"},
       {"18", "7213", "-3", "C", "0", "", "01"}},
      {{6, "7586", MonitorPoll::CounterChannel},
       {},
       {"", "12345", "10"},
       {"6", "7586", "", "", "", "12345", "10"}},
      {{1, "7453", MonitorPoll::Digital},
       {},
       {"", "A5H", " "},
       {"1", "7453", "", "", "A5H", "", ""}},
      {{5, "7347", MonitorPoll::AnalogOutput},
       {"7FF", "H"},
       {"7FFH", "0FH", ""},
       {"5", "7347", "7FF", "H", "0FH", "", ""}},
      {{7, "7520", MonitorPoll::Nothing}, {}, {}, {"7", "7520", "", "", "", "", ""}},
      {{9, "72,1", MonitorPoll::AnalogInput},
       {"0", "mV"},
       {"+0mV", "", ""},
       {"9", "72,1", "0", "mV", "", "", ""}},
  };
  const CsvRows header = parseCsv(monitorRecordHeader());
  ASSERT_EQ(header.size(), 1u);
  EXPECT_EQ(header[0], (std::vector<std::string>{"Time", "Address", "Model", "AD/DA Data", "Unit",
                                                 "DI", "Counter", "DO/Alarm"}));
  for (const Case& c : cases) {
    const CsvRows rows = parseCsv(monitorRecordRow(time, c.entry, c.value, c.row));
    ASSERT_EQ(rows.size(), 1u);
    std::vector<std::string> expected{at};
    expected.insert(expected.end(), c.fields.begin(), c.fields.end());
    EXPECT_EQ(rows[0], expected) << c.row.input.toStdString();
    EXPECT_EQ(rows[0].size(), header[0].size());
  }
}

TEST(MonitorRecord, ReadingsAsNumbersWithAPoint) {
  orvane::test::CommaLocale locale;
  ASSERT_TRUE(locale.active());
  EXPECT_EQ(analogInputValue("+0015.320", "mV"), (MonitorValue{"15.32", "mV"}));
  EXPECT_EQ(analogInputValue("-1.5", "V"), (MonitorValue{"-1.5", "V"}));
  EXPECT_EQ(analogInputValue("*error*", "V"), (MonitorValue{"", "V"}));
  EXPECT_EQ(outputReadBackValue(0x30, 0, true, "!0104.500"), (MonitorValue{"4.5", "mA"}));
  EXPECT_EQ(outputReadBackValue(0x32, 1, true, "!01+025.00"), (MonitorValue{"25", "%"}));
  EXPECT_EQ(outputReadBackValue(0x31, 2, true, "!01010"), (MonitorValue{"010", "H"}))
      << "hexadecimal digits stay as they are";
  EXPECT_EQ(outputReadBackValue(0x30, 0, true, "!017FF"), std::nullopt);
  EXPECT_EQ(outputReadBackValue(0x30, 0, false, "!0104.500"), std::nullopt);
}

}  // namespace
}  // namespace orvane::admin
