// What the printer writes: values for people and for programs, JSON that
// stays valid whatever bytes a module sends, CSV quoting, aligned tables.
#include "output.h"

#include <gtest/gtest.h>

#include <sstream>

#include "comma_locale.h"

namespace orvctl {
namespace {

struct ValueCase {
  const char* what;
  Value value;
  const char* text;
  const char* json;
  const char* csv;
};

const ValueCase kValues[] = {
    {"no value", std::monostate{}, "-", "null", ""},
    {"flag", true, "yes", "true", "true"},
    {"integer", -42LL, "-42", "-42", "-42"},
    {"fraction", 1.25, "1.25", "1.25", "1.25"},
    {"negative zero", -0.0, "0", "0", "0"},
    {"small", 0.0001, "0.0001", "0.0001", "0.0001"},
    {"bits", Bits{0xA5, 2}, "0xA5", "165", "165"},
    {"bits, seven digits", Bits{0x50900, 7}, "0x0050900", "329984", "329984"},
    {"text with comma", std::string("Pt, +/- 100C"), "Pt, +/- 100C", "\"Pt, +/- 100C\"",
     "\"Pt, +/- 100C\""},
    {"text with quote", std::string("say \"?01\""), "say \"?01\"", "\"say \\\"?01\\\"\"",
     "\"say \"\"?01\"\"\""},
    {"control characters", std::string("!01\r\x07"), "!01\r\x07", "\"!01\\u000d\\u0007\"",
     "\"!01\r\x07\""},
    {"UTF-8 kept", std::string("/dev/serial/\xc3\xa4"), "/dev/serial/\xc3\xa4",
     "\"/dev/serial/\xc3\xa4\"", "/dev/serial/\xc3\xa4"},
    {"a byte that is no UTF-8", std::string("?\xff\xc3"), "?\xff\xc3", "\"?\\u00ff\\u00c3\"",
     "?\xff\xc3"},
};

TEST(OrvctlOutput, ValuesForPeopleAndForPrograms) {
  for (const auto& c : kValues) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(textOf(c.value), c.text);
    EXPECT_EQ(jsonObject({{"v", c.value, ""}}), std::string("{\"v\":") + c.json + "}");
    EXPECT_EQ(csvRow({{"v", c.value, ""}}), c.csv);
  }
}

TEST(OrvctlOutput, ACommaLocaleChangesTheTextOnly) {
  orvane::test::CommaLocale comma;
  ASSERT_TRUE(comma.active());
  const Record record = {{"ch0", -12.5, "V"}, {"count", 3LL, ""}};
  EXPECT_EQ(textOf(-12.5), "-12,5");
  EXPECT_EQ(jsonObject(record), "{\"ch0\":-12.5,\"count\":3,\"units\":{\"ch0\":\"V\"}}");
  EXPECT_EQ(csvRow(record), "-12.5,3");
  std::ostringstream text;
  Printer(OutputFormat::Text, text).record(record);
  EXPECT_EQ(text.str(), "ch0    -12,5 V\ncount  3\n");
}

TEST(OrvctlOutput, EachFormatOfARecordATableAndASeries) {
  const std::vector<Record> rows = {
      {{"address", 1LL, ""}, {"model", std::string("7213"), ""}, {"range", Value(), ""}},
      {{"address", 20LL, ""},
       {"model", std::string("7231"), ""},
       {"range", std::string("+/- 10V"), ""}},
  };
  struct Case {
    OutputFormat format;
    const char* table;
    const char* series;  // the rows written one by one with next()
  };
  const Case cases[] = {
      {OutputFormat::Text,
       "address  model  range\n"
       "      1  7213   -\n"
       "     20  7231   +/- 10V\n",
       "address 1  model 7213\naddress 20  model 7231  range +/- 10V\n"},
      {OutputFormat::Json,
       "[{\"address\":1,\"model\":\"7213\",\"range\":null},\n"
       " {\"address\":20,\"model\":\"7231\",\"range\":\"+/- 10V\"}]\n",
       "{\"address\":1,\"model\":\"7213\",\"range\":null}\n"
       "{\"address\":20,\"model\":\"7231\",\"range\":\"+/- 10V\"}\n"},
      {OutputFormat::Csv, "address,model,range\n1,7213,\n20,7231,+/- 10V\n",
       "address,model,range\n1,7213,\n20,7231,+/- 10V\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.format));
    std::ostringstream table, series;
    Printer(c.format, table).table(rows);
    EXPECT_EQ(table.str(), c.table);
    Printer printer(c.format, series);
    for (const auto& row : rows) printer.next(row);
    EXPECT_EQ(series.str(), c.series);
  }
  std::ostringstream empty;
  Printer(OutputFormat::Json, empty).table({});
  EXPECT_EQ(empty.str(), "[]\n");
}

}  // namespace
}  // namespace orvctl
