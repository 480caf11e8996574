// The monitor's column texts as plain functions: what each reply shows, and
// that no cut, refused or garbled reply shows anything it does not hold.
#include "admin/diag/monitor_columns.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace orvane::admin {

void PrintTo(const MonitorRow& row, std::ostream* out) {
  *out << "{data \"" << row.data.toStdString() << "\", input \"" << row.input.toStdString()
       << "\", output \"" << row.output.toStdString() << "\"}";
}

namespace {

// A row as an earlier tick left it.
const MonitorRow kBefore{QStringLiteral("D"), QStringLiteral("I"), QStringLiteral("O")};
const MonitorRow kMarked{QStringLiteral("D"), QStringLiteral("*"), QStringLiteral("*")};

MonitorRow digital(const std::string& key, const std::string& reply, bool ok = true) {
  MonitorRow row = kBefore;
  digitalColumns(row, key, ok, reply);
  return row;
}

MonitorRow multi(const std::string& status, const std::string& count, bool statusOK = true,
                 MonitorRow row = kBefore) {
  multiFunctionColumns(row, statusOK, status, true, count);
  return row;
}

MonitorRow readBack(int typeCode, int format, const std::string& reply, char separator = '.') {
  MonitorRow row = kBefore;
  outputReadBackData(row, typeCode, format, true, reply, separator);
  return row;
}

MonitorRow withInput(const QString& input) { return {kBefore.data, input, kBefore.output}; }
MonitorRow withOutput(const QString& output) { return {kBefore.data, kBefore.input, output}; }

TEST(MonitorColumns, GridSizeAndInterval) {
  EXPECT_EQ(monitorRowCount(0), 16) << "the headings and 15 empty rows";
  EXPECT_EQ(monitorRowCount(15), 16);
  EXPECT_EQ(monitorRowCount(16), 17);
  EXPECT_EQ(monitorRowCount(256), 257);

  EXPECT_EQ(monitorInterval(0), 0) << "an empty list is not polled";
  EXPECT_EQ(monitorInterval(1), 500);
  EXPECT_EQ(monitorInterval(20), 10000);
  EXPECT_EQ(monitorInterval(65), 32500);
  EXPECT_EQ(monitorInterval(66), 32767) << "capped, not wrapped";
  EXPECT_EQ(monitorInterval(256), 32767);
}

TEST(MonitorColumns, FixedColumns) {
  EXPECT_EQ(monitorModel("7213D "), "7213D");
  EXPECT_EQ(monitorRemark(0x08), "+/- 10V         ");
  EXPECT_EQ(monitorRemark(0x51), "Frequency       ");
  EXPECT_EQ(monitorRemark(0x40), QString(16, QLatin1Char(' '))) << "a code without a name";
}

TEST(MonitorColumns, WhatEachModelIsAsked) {
  for (const char* model : {"7451", "7453", "7455", "7456", "7458", "7469", "7472", "7474", "7476"})
    EXPECT_EQ(monitorPoll(model), MonitorPoll::Digital) << model;
  for (const char* model : {"7213", "7215", "7228D"})
    EXPECT_EQ(monitorPoll(model), MonitorPoll::MultiFunction) << model;
  for (const char* model : {"7342", "7347"})
    EXPECT_EQ(monitorPoll(model), MonitorPoll::AnalogOutput) << model;
  for (const char* model : {"7226", "7231", "7234"})
    EXPECT_EQ(monitorPoll(model), MonitorPoll::AnalogInput) << model;
  EXPECT_EQ(monitorPoll("7586"), MonitorPoll::CounterChannel);
  for (const char* model : {"7912", "7917", "7999", ""})
    EXPECT_EQ(monitorPoll(model), MonitorPoll::Nothing) << model;
  EXPECT_EQ(outputReadBackBody("342"), "6");
  EXPECT_EQ(outputReadBackBody("347"), "6A");
}

TEST(MonitorColumns, DigitalBytesByModel) {
  const std::string reply = "!12AB00";
  const QString blank = QStringLiteral(" ");
  for (const char* key : {"451", "472"})
    EXPECT_EQ(digital(key, reply), (MonitorRow{"D", "ABH", "12H"})) << key;
  EXPECT_EQ(digital("453", "!A50000"), (MonitorRow{"D", "A5H", blank}));
  for (const char* key : {"455", "456"})
    EXPECT_EQ(digital(key, reply), (MonitorRow{"D", "12ABH", blank})) << key;
  EXPECT_EQ(digital("458", reply), (MonitorRow{"D", blank, "12ABH"}));
  for (const char* key : {"474", "476"})
    EXPECT_EQ(digital(key, reply), (MonitorRow{"D", blank, "12H"})) << key;
}

TEST(MonitorColumns, The7469ShowsItsIsolatedInputsFromAnElevenCharacterReply) {
  EXPECT_EQ(digital("469", "!0C0A5A0912"), (MonitorRow{"D", "0AH", " "}));
  EXPECT_EQ(digital("469", "!0C0A5A"), kMarked) << "the 7-character reply of other models";
  EXPECT_EQ(digital("451", "!0C0A5A0912"), kMarked) << "other models keep 7 characters";
}

TEST(MonitorColumns, DigitalReplyThatDoesNotCountMarksBothColumns) {
  EXPECT_EQ(digital("451", "!12AB00", false), kMarked) << "failed exchange";
  EXPECT_EQ(digital("451", "?12AB00"), kMarked) << "wrong lead";
  EXPECT_EQ(digital("451", "!1GAB00"), kMarked) << "an output digit that is no digit";
  EXPECT_EQ(digital("453", "!A5ZZZZ"), (MonitorRow{"D", "A5H", " "}))
      << "only the digits shown must be digits";
  EXPECT_EQ(digital("999", "!12AB00"), kMarked) << "a model without a layout";
}

TEST(MonitorColumns, AnalogInputReadingWithSignSeparatorAndUnit) {
  MonitorRow row = kBefore;
  analogInputData(row, "15.32", "mV", ',');
  EXPECT_EQ(row, (MonitorRow{"+15,32mV", "I", "O"}));
  analogInputData(row, "-1.5", "V", '.');
  EXPECT_EQ(row.data, "-1.5V");
  analogInputData(row, "*error*", "V", '.');
  EXPECT_EQ(row.data, "*error*V");
}

TEST(MonitorColumns, MultiFunctionOutputsAndInputWithAlarmModeOff) {
  EXPECT_EQ(multi("!0100311", "!0100012"), (MonitorRow{"D", "1/12", "11"}));
  EXPECT_EQ(multi("!0100000", "!0100000"), (MonitorRow{"D", "0/0", "00"}));
  EXPECT_EQ(multi("!0100100", "?01"), (MonitorRow{"D", "0", "01"}))
      << "a refused count leaves the input's text";
  EXPECT_EQ(multi("!0100210", "!01"), (MonitorRow{"D", "1", "10"}));
  EXPECT_EQ(multi("!0100510", "?01"), (MonitorRow{"D", "1", "O"}))
      << "outputs beyond 3 leave the column";
}

TEST(MonitorColumns, MultiFunctionAlarmsWithAlarmModeOn) {
  EXPECT_EQ(multi("!0110200", "?01").output, "HighAlarm");
  EXPECT_EQ(multi("!0120100", "?01").output, "LowAlarm");
  EXPECT_EQ(multi("!0110300", "?01").output, "LowAlarm") << "an odd value is the low alarm";
  EXPECT_EQ(multi("!0110000", "?01").output, QString(12, QLatin1Char(' ')));
}

TEST(MonitorColumns, MultiFunctionInputTextBelongsToItsOwnModule) {
  const MonitorRow previous{QStringLiteral("D"), QStringLiteral("1/7"), QStringLiteral("01")};
  EXPECT_EQ(multi("!0100311", "!0100012", false, previous), (MonitorRow{"D", "*/12", "*"}))
      << "a failed status shows *, never an input text read before";
  EXPECT_EQ(multi("?01", "?01", true, previous), (MonitorRow{"D", "*", "*"}));
  EXPECT_EQ(multi("!0100311", "!01000x2"), (MonitorRow{"D", "1", "11"}))
      << "a count that is no number is no count";
}

TEST(MonitorColumns, AnalogOutputReadBackUnitByDataFormat) {
  EXPECT_EQ(readBack(0x30, 0, "!0104.000").data, "04.000mA");
  EXPECT_EQ(readBack(0x30, 0, "!0104.000", ',').data, "04,000mA");
  EXPECT_EQ(readBack(0x32, 1, "!01+025.00").data, "+025.00%");
  EXPECT_EQ(readBack(0x31, 2, "!017FF").data, "7FFH") << "a hexadecimal read-back is no mA";
  EXPECT_EQ(readBack(0x33, 0, "!05-10.000").data, "-10.000V");
  EXPECT_EQ(readBack(0x30, 3, "!0112").data, "12") << "no unit for a format without one";

  EXPECT_EQ(readBack(0x30, 2, "!0104.000"), kBefore) << "a value of another format";
  EXPECT_EQ(readBack(0x30, 0, "!017FF"), kBefore);
  EXPECT_EQ(readBack(0x30, 0, "?01"), kBefore);
  MonitorRow row = kBefore;
  outputReadBackData(row, 0x30, 0, false, "!0104.000", '.');
  EXPECT_EQ(row, kBefore) << "a failed read-back leaves the value";
}

TEST(MonitorColumns, The7347InputsAndTheCounter) {
  MonitorRow row = kBefore;
  quadInputColumn(row, true, "!7F0000");
  EXPECT_EQ(row, withInput("7FH"));
  quadInputColumn(row, true, "!7F00000");
  quadInputColumn(row, true, "!7G0000");
  EXPECT_EQ(row, withInput("7FH")) << "another length or no digits leaves the inputs";

  row = kBefore;
  counterValueColumn(row, true, ">0000012345");
  EXPECT_EQ(row, withInput("12345"));
  counterValueColumn(row, true, ">0000000000");
  EXPECT_EQ(row.input, "0");
  counterValueColumn(row, true, ">4294967295");
  EXPECT_EQ(row.input, "4294967295");
  for (const char* bad : {">", ">12a4", ">00000000001", "?06", "!060000"}) {
    counterValueColumn(row, true, bad);
    EXPECT_EQ(row.input, "4294967295") << bad << ": the value is kept, never 0";
  }
  counterValueColumn(row, false, ">0000000007");
  EXPECT_EQ(row.input, "4294967295");

  row = kBefore;
  counterOutputColumn(row, true, "!06003");
  EXPECT_EQ(row, withOutput("11"));
  counterOutputColumn(row, true, "!06005");
  EXPECT_EQ(row.output, "11") << "outputs beyond 3 leave the column";
  counterOutputColumn(row, true, "!06102");
  EXPECT_EQ(row.output, "10");
  counterOutputColumn(row, false, "!06003");
  EXPECT_EQ(row.output, "*");
}

// Every decoder fed every cut of a valid reply and a refusal: no exception,
// and the row shows only what the column's rule gives a reply that does
// not count. The whole reply changes the row, so the cuts are no no-ops by
// accident.
struct DecoderCase {
  const char* name;
  std::function<void(MonitorRow&, const std::string&)> decode;
  std::string valid;
  MonitorRow notValid;
};

TEST(MonitorColumns, EveryCutOrRefusedReplyShowsNothingItDoesNotHold) {
  const auto digitalCase = [](const char* key, const char* valid) {
    return DecoderCase{
        key,
        [key](MonitorRow& row, const std::string& reply) { digitalColumns(row, key, true, reply); },
        valid, kMarked};
  };
  const auto readBackCase = [](const char* name, int typeCode, int format, const char* valid) {
    return DecoderCase{name,
                       [typeCode, format](MonitorRow& row, const std::string& reply) {
                         outputReadBackData(row, typeCode, format, true, reply, '.');
                       },
                       valid, kBefore};
  };
  const std::vector<DecoderCase> cases{
      digitalCase("451", "!12AB00"),
      digitalCase("453", "!A50000"),
      digitalCase("455", "!12AB00"),
      digitalCase("458", "!12AB00"),
      digitalCase("469", "!0C0A5A0912"),
      digitalCase("472", "!0F0300"),
      digitalCase("474", "!12AB00"),
      {"@AADI of a multi-function module",
       [](MonitorRow& row, const std::string& reply) {
         multiFunctionColumns(row, true, reply, false, "");
       },
       "!0100311", kMarked},
      {"@AARE of a multi-function module",
       [](MonitorRow& row, const std::string& reply) {
         multiFunctionColumns(row, true, "!0100311", true, reply);
       },
       "!0100012", MonitorRow{"D", "1", "11"}},
      readBackCase("$AA6 in mA", 0x30, 0, "!0104.000"),
      readBackCase("$AA6 in %", 0x30, 1, "!01+025.00"),
      readBackCase("$AA6 in hexadecimal", 0x30, 2, "!017FF"),
      readBackCase("$AA6A of a 7347", 0x33, 0, "!05-10.000"),
      {"$AA8 of a 7347",
       [](MonitorRow& row, const std::string& reply) { quadInputColumn(row, true, reply); },
       "!7F0000", kBefore},
      {"@AADI of the counter",
       [](MonitorRow& row, const std::string& reply) { counterOutputColumn(row, true, reply); },
       "!06003", withOutput("*")},
  };
  for (const auto& c : cases) {
    std::vector<std::string> replies{"?01", ""};
    for (std::size_t n = 1; n < c.valid.size(); ++n) replies.push_back(c.valid.substr(0, n));
    for (const auto& reply : replies) {
      MonitorRow row = kBefore;
      EXPECT_NO_THROW(c.decode(row, reply));
      EXPECT_EQ(row, c.notValid) << c.name << " fed \"" << reply << "\"";
    }
    MonitorRow row = kBefore;
    c.decode(row, c.valid);
    EXPECT_NE(row, c.notValid) << c.name << ": the whole reply counts";
  }
}

TEST(MonitorColumns, EveryCutOfACountShowsOnlyTheDigitsItHolds) {
  // ">" and 1 to 10 digits is a count, so a cut after a digit is one too.
  const std::string valid = ">0000012345";
  for (std::size_t n = 0; n <= valid.size(); ++n) {
    const std::string reply = valid.substr(0, n);
    MonitorRow row = kBefore;
    EXPECT_NO_THROW(counterValueColumn(row, true, reply));
    const QString shown = n < 2 ? kBefore.input : QString::number(std::stoull(reply.substr(1)));
    EXPECT_EQ(row, withInput(shown)) << "fed \"" << reply << "\"";
  }
  MonitorRow row = kBefore;
  counterValueColumn(row, true, "?01");
  EXPECT_EQ(row, kBefore);
}

}  // namespace
}  // namespace orvane::admin
