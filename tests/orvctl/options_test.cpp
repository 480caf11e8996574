// The command line and the numbers in it: what is taken, and the one line
// that says what is wrong.
#include "options.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "comma_locale.h"
#include "numbers.h"
#include "port.h"
#include "scan_progress.h"
#include "timestamp.h"

namespace orvctl {
namespace {

struct InvocationCase {
  std::vector<std::string> argv;
  const char* error;  // part of the usage error, or nullptr
  std::string port = "COM1";
  long baudRate = 9600;
  long timeoutMs = 100;
  OutputFormat format = OutputFormat::Text;
  std::string command = "info";
  std::size_t args = 1;
};

TEST(OrvctlOptions, GlobalOptionsComeBeforeOrAfterTheCommand) {
  const InvocationCase cases[] = {
      {{"info", "1"}, nullptr},
      {{"-p", "/dev/ttyUSB0", "-b", "115200", "-t", "250", "--json", "info", "1"},
       nullptr,
       "/dev/ttyUSB0",
       115200,
       250,
       OutputFormat::Json},
      {{"--csv", "scan", "--baud", "9600,19200"},
       nullptr,
       "COM1",
       9600,
       100,
       OutputFormat::Csv,
       "scan",
       2},
      // The global options may follow the command, but config has its own
      // --checksum.
      {{"scan", "--baud", "9600,19200", "--json", "-p", "COM2"},
       nullptr,
       "COM2",
       9600,
       100,
       OutputFormat::Json,
       "scan",
       2},
      {{"config", "5", "--checksum", "on", "--csv"},
       nullptr,
       "COM1",
       9600,
       100,
       OutputFormat::Csv,
       "config",
       3},
      {{"scan", "--frm", "3"}, nullptr, "COM1", 9600, 100, OutputFormat::Text, "scan", 2},
      {{}, "no command given"},
      {{"-b", "300", "info", "1"}, "baud rate 300 is none of 1200"},
      {{"-b"}, "-b needs a value"},
      {{"-t", "0", "info", "1"}, "-t 0 is not a whole number from 1 to 32767"},
      {{"--json", "--csv", "info", "1"}, "--json and --csv exclude each other"},
      {{"--verbose", "info"}, "unknown option --verbose"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.argv));
    if (c.error) {
      try {
        parseInvocation(c.argv);
        ADD_FAILURE() << "no usage error";
      } catch (const UsageError& e) {
        EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
      }
      continue;
    }
    const Invocation inv = parseInvocation(c.argv);
    EXPECT_EQ(inv.global.port, c.port);
    EXPECT_EQ(inv.global.baudRate, c.baudRate);
    EXPECT_EQ(inv.global.timeoutMs, c.timeoutMs);
    EXPECT_EQ(inv.global.format, c.format);
    EXPECT_EQ(inv.command, c.command);
    EXPECT_EQ(inv.args.size(), c.args);
  }
  EXPECT_TRUE(parseInvocation({"--help"}).help);
  EXPECT_TRUE(parseInvocation({"--version"}).version);
}

TEST(OrvctlOptions, CommandArgumentsTakeBothOptionFormsAndNegativeValues) {
  ArgList args("write", {"7", "--channel=2", "-2.5", "--do", "A5"});
  EXPECT_EQ(args.option("--channel"), "2");
  EXPECT_EQ(args.option("--do"), "A5");
  EXPECT_EQ(args.option("--group"), std::nullopt);
  EXPECT_EQ(args.positionals(1, 2), (std::vector<std::string>{"7", "-2.5"}));

  ArgList unknown("scan", {"--form", "3"});
  EXPECT_THROW(unknown.positionals(0, 2), UsageError);
  ArgList missing("scan", {"--from"});
  EXPECT_THROW(missing.option("--from"), UsageError);
  ArgList many("info", {"1", "2"});
  try {
    many.positionals(1, 1);
    ADD_FAILURE();
  } catch (const UsageError& e) {
    EXPECT_STREQ(e.what(), "info: too many arguments (2)");
  }
}

TEST(OrvctlOptions, PortNamesChooseTheLibrarySlot) {
  const std::pair<const char*, int> cases[] = {
      {"COM1", 1},
      {"com23", 23},
      {"COM0", 0},
      {"/dev/ttyUSB0", 0},
      {"rfc2217://gw:4001", 0},
      {"socket://gw:4002", 0},
      {"COMX", 0},
  };
  for (const auto& [name, slot] : cases) EXPECT_EQ(slotOf(name), slot) << name;
  EXPECT_THROW(slotOf("COM24"), UsageError);
}

TEST(OrvctlNumbers, ReadingsAndArgumentsWithoutTheLocale) {
  const std::pair<const char*, std::optional<double>> readings[] = {
      {"+015.32", 15.32},      {"-00.125", -0.125},    {" 5 ", 5.0},          {"+10.0000", 10.0},
      {"1e5", std::nullopt},   {"inf", std::nullopt},  {"+", std::nullopt},   {"", std::nullopt},
      {"1.2.3", std::nullopt}, {"7FFF", std::nullopt}, {"--1", std::nullopt},
  };
  for (const auto& [text, value] : readings) EXPECT_EQ(decimalNumber(text), value) << text;

  const std::tuple<const char*, long, long, std::optional<long>> integers[] = {
      {"37", 0, 255, 37},           {"0x1F", 0, 255, 31},
      {"255", 0, 255, 255},         {"256", 0, 255, std::nullopt},
      {"-1", 0, 255, std::nullopt}, {"1a", 0, 255, std::nullopt},
      {"", 0, 255, std::nullopt},   {"0x", 0, 255, std::nullopt},
  };
  for (const auto& [text, min, max, value] : integers)
    EXPECT_EQ(integerIn(text, min, max), value) << text;

  EXPECT_EQ(hexNumber("A5", 0xFF), 0xA5u);
  EXPECT_EQ(hexNumber("0x0e", 0xFF), 0x0Eu);
  EXPECT_EQ(hexNumber("1FF", 0xFF), std::nullopt);
  EXPECT_EQ(hexNumber("G1", 0xFF), std::nullopt);

  EXPECT_EQ(outputValueText(5.5), "+05.500");
  EXPECT_EQ(outputValueText(-10), "-10.000");
  EXPECT_EQ(outputValueText(0.0004), "+00.000");
  EXPECT_EQ(plainNumber(19.99), "19.99");

  EXPECT_EQ(baudCodeOf(115200), 9u);
  EXPECT_EQ(baudCodeOf(57600), 10u);
  EXPECT_EQ(baudCodeOf(300), std::nullopt);
  EXPECT_EQ(baudRateOf(7), 19200);
}

TEST(OrvctlNumbers, UsersTypeTheirLocalesDecimalPoint) {
  orvane::test::CommaLocale comma;
  ASSERT_TRUE(comma.active());
  EXPECT_EQ(typedNumber("1,5"), 1.5);
  EXPECT_EQ(typedNumber("1.5"), 1.5);
  EXPECT_EQ(decimalNumber("1,5"), std::nullopt) << "modules write \".\"";
  EXPECT_EQ(plainNumber(1.5), "1.5");
  EXPECT_EQ(outputValueText(2.25), "+02.250");
}

// Sets the time zone for the test's life.
class TimeZone {
 public:
  explicit TimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~TimeZone() {
    if (old_)
      ::setenv("TZ", old_->c_str(), 1);
    else
      ::unsetenv("TZ");
    ::tzset();
  }

 private:
  std::optional<std::string> old_;
};

TEST(OrvctlTimestamp, LocalTimeToTheMillisecondWithItsOffset) {
  const std::pair<const char*, const char*> cases[] = {
      {"UTC0", "2026-12-09T13:03:27.512+00:00"},
      {"CET-1", "2026-12-09T14:03:27.512+01:00"},
      {"<-0330>3:30", "2026-12-09T09:33:27.512-03:30"},
  };
  // 2026-12-09 13:03:27.512 UTC
  const auto when = std::chrono::system_clock::time_point(std::chrono::milliseconds(1796821407512));
  for (const auto& [zone, text] : cases) {
    TimeZone tz(zone);
    EXPECT_EQ(isoLocalTime(when), text) << zone;
  }
}

TEST(OrvctlScanProgress, OneLineWithRateAddressAndCount) {
  EXPECT_EQ(progressLine(19200, 37, 0, 255, 3), "scan: 19200 bps, address 37 (0..255), 3 found");
}

}  // namespace
}  // namespace orvctl
