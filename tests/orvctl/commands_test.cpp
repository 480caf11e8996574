// Each command's text, JSON and CSV output for demo modules, and what it did
// to the module.
#include <regex>

#include "orvctl_fixture.h"

namespace orvctl::test {
namespace {

using nlohmann::json;
using orvane::sim::Network;

struct OutputCase {
  const char* what;
  std::vector<std::string> args;
  std::function<void(const Outcome&, Network&)> check;
};

bool isoTime(const std::string& text) {
  static const std::regex iso(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d)");
  return std::regex_match(text, iso);
}

const OutputCase kCases[] = {
    {"info of a checksum module, JSON",
     {"--json", "info", "2"},
     [](const Outcome& o, Network&) {
       const json j = parsed(o.out);
       EXPECT_EQ(j["model"], "7215");
       EXPECT_EQ(j["family"], "multi-function");
       EXPECT_EQ(j["checksum"], true);
       EXPECT_EQ(j["baud"], 9600);
       EXPECT_EQ(j["typeCode"], 8);
       EXPECT_EQ(j["range"], "+/- 10V");
       EXPECT_EQ(j["unit"], "V");
       EXPECT_EQ(j["format"], "engineering");
       EXPECT_EQ(j["firmware"], "A1.0");
       EXPECT_EQ(j["initState"], false);
     }},
    {"info as text",
     {"info", "2"},
     [](const Outcome& o, Network&) {
       auto pairs = textPairs(o.out);
       EXPECT_EQ(pairs["model"], "7215");
       EXPECT_EQ(pairs["checksum"], "yes");
       EXPECT_EQ(pairs["typeCode"], "0x08");
       EXPECT_EQ(pairs["range"], "+/- 10V");
     }},
    {"info as CSV",
     {"--csv", "info", "4"},
     [](const Outcome& o, Network&) {
       const auto rows = csvRows(o.out);
       ASSERT_EQ(rows.size(), 1u);
       EXPECT_EQ(rows[0].at("model"), "7226");
       EXPECT_EQ(rows[0].at("range"), "Pt, +/- 100C");
       EXPECT_EQ(rows[0].at("checksum"), "false");
       EXPECT_EQ(rows[0].at("firmware"), "A1.0");
     }},
    {"info of the converter in its initialization state",
     {"--json", "info", "0"},
     [](const Outcome& o, Network&) {
       const json j = parsed(o.out);
       EXPECT_EQ(j["model"], "7917");
       EXPECT_EQ(j["family"], "converter");
       EXPECT_EQ(j["initState"], true);
       EXPECT_EQ(j["storedAddress"], 20);
       EXPECT_EQ(j["rs232Format"], "8N1");
       EXPECT_EQ(j["interface"], "RS-485");
       EXPECT_EQ(j["range"], nullptr);
     }},
    {"read of a multi-function module with checksum, JSON",
     {"--json", "read", "2"},
     [](const Outcome& o, Network&) {
       const json j = parsed(o.out);
       EXPECT_TRUE(isoTime(j["time"])) << j["time"];
       EXPECT_EQ(j["model"], "7215");
       EXPECT_EQ(j["ch0"], 2.5);
       EXPECT_EQ(j["units"]["ch0"], "V");
       EXPECT_TRUE(j["di"].is_number());
       EXPECT_EQ(j["do"], 0);
     }},
    {"read of one channel, CSV",
     {"-b", "19200", "--csv", "read", "5", "3"},
     [](const Outcome& o, Network&) {
       EXPECT_EQ(lines(o.out).at(0), "time,address,model,ch3");
       const auto rows = csvRows(o.out);
       ASSERT_EQ(rows.size(), 1u);
       EXPECT_EQ(rows[0].at("ch3"), "-7.5");
       EXPECT_TRUE(isoTime(rows[0].at("time")));
     }},
    {"read of all channels, text",
     {"-b", "19200", "read", "5"},
     [](const Outcome& o, Network&) {
       auto pairs = textPairs(o.out);
       EXPECT_EQ(pairs["ch0"], "1.25 V");
       EXPECT_EQ(pairs["ch3"], "-7.5 V");
       EXPECT_EQ(pairs.count("ch7"), 1u);
       EXPECT_EQ(pairs.count("ch8"), 0u);
     }},
    {"read of a counter",
     {"--json", "read", "18"},
     [](const Outcome& o, Network&) { EXPECT_EQ(parsed(o.out)["counter0"], 1234); }},
    {"read of a digital module",
     {"read", "9"},
     [](const Outcome& o, Network&) {
       auto pairs = textPairs(o.out);
       EXPECT_EQ(pairs["di"], "0x05");
       EXPECT_EQ(pairs["do"], "0x00");
     }},
    {"write of an analog output",
     {"--json", "write", "7", "12.5"},
     [](const Outcome& o, Network& net) {
       const json j = parsed(o.out);
       EXPECT_EQ(j["out"], 12.5);
       EXPECT_EQ(j["units"]["out"], "mA");
       EXPECT_DOUBLE_EQ(net.state(7).outputs[0], 12.5);
     }},
    {"write of one of four outputs",
     {"write", "8", "-2.25", "--channel", "2"},
     [](const Outcome&, Network& net) { EXPECT_DOUBLE_EQ(net.state(8).outputs[2], -2.25); }},
    {"write of digital outputs",
     {"write", "9", "--do", "a5"},
     [](const Outcome& o, Network& net) {
       EXPECT_EQ(textPairs(o.out)["do"], "0xA5");
       EXPECT_EQ(net.state(9).digitalOutputs, 0xA5u);
     }},
    {"config of range and format",
     {"--json", "config", "3", "--range", "09", "--format", "percent"},
     [](const Outcome& o, Network& net) {
       const json j = parsed(o.out);
       EXPECT_EQ(j["range"], "+/- 5V");
       EXPECT_EQ(j["format"], "percent");
       EXPECT_EQ(net.state(3).typeCode, 0x09);
       EXPECT_EQ(net.state(3).format, 1);
     }},
    {"config without changes shows the configuration",
     {"--json", "config", "6"},
     [](const Outcome& o, Network&) { EXPECT_EQ(parsed(o.out)["range"], "T/C Type K"); }},
    {"send, the reply as received",
     {"send", "$01M"},
     [](const Outcome& o, Network&) { EXPECT_EQ(o.out, "!017213\n"); }},
    {"send with checksum, JSON",
     {"--checksum", "--json", "send", "$02M"},
     [](const Outcome& o, Network&) {
       EXPECT_EQ(parsed(o.out), json::parse(R"({"command":"$02M","reply":"!027215"})"));
     }},
    {"send of a broadcast waits for no reply",
     {"--csv", "send", "#**"},
     [](const Outcome& o, Network& net) {
       EXPECT_EQ(o.out, "command,reply\n#**,\n");
       ASSERT_TRUE(net.waitForFrames(1, std::chrono::seconds(2)));
       EXPECT_EQ(net.frames().back().raw, "#**\r");
     }},
};

TEST_F(OrvctlTest, EachCommandPrintsWhatItDidInTheFormatAskedFor) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    net->clearFrames();
    const Outcome outcome = run(c.args);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    c.check(outcome, *net);
  }
}

TEST_F(OrvctlTest, ACommaLocaleShowsItsCommaToPeopleOnly) {
  struct Case {
    const char* format;
    const char* expected;
  };
  const Case cases[] = {
      {"--json", "\"ch0\":1.25,"}, {"--csv", ",1.25\n"}, {nullptr, "ch0      1,25 V"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format ? c.format : "text");
    std::vector<std::string> args = {"-b", "19200", "read", "5", "0"};
    if (c.format) args.insert(args.begin(), c.format);
    const Outcome outcome = run(args, commaLocale());
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find(c.expected), std::string::npos) << outcome.out;
  }
  // A value typed the user's way reaches the module with its point.
  ASSERT_EQ(run({"write", "7", "8,75"}, commaLocale()).status, 0);
  EXPECT_DOUBLE_EQ(net->state(7).outputs[0], 8.75);
}

}  // namespace
}  // namespace orvctl::test
