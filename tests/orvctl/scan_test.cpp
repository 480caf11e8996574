// scan: every module once at the first rate it answers, the checksum module
// and the one in its initialization state included; the rates outside, one
// settle per rate; progress only on a terminal; a stop keeps what was found.
#include <signal.h>

#include <set>

#include "orvctl_fixture.h"

namespace orvctl::test {
namespace {

using namespace std::chrono_literals;

TEST_F(OrvctlTest, ScanFindsEveryModuleOnceAtTheRateItAnswers) {
  const Outcome outcome =
      run({"--json", "scan", "--to", "6", "--baud", "9600,19200", "--settle", "0"});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const auto modules = parsed(outcome.out);
  ASSERT_TRUE(modules.is_array());
  std::vector<int> addresses;
  for (const auto& m : modules) addresses.push_back(m["address"]);
  // 9600 first, then the one module at 19200.
  EXPECT_EQ(addresses, (std::vector<int>{0, 1, 2, 3, 4, 6, 5}));
  for (const auto& m : modules) {
    SCOPED_TRACE(m.dump());
    const int a = m["address"];
    EXPECT_EQ(m["baud"], a == 5 ? 19200 : 9600);
    EXPECT_EQ(m["checksum"], a == 2);
    EXPECT_EQ(m["initState"], a == 0);
    EXPECT_EQ(m["storedAddress"], a == 0 ? 20 : a);
  }
  EXPECT_EQ(modules[0]["model"], "7917");
  EXPECT_EQ(modules[6]["model"], "7231");
  EXPECT_EQ(modules[6]["range"], "+/- 10V");
  // An address that answered at 9600 is not asked again at 19200.
  std::set<std::string> askedAt19200;
  for (const auto& frame : net->frames())
    if (frame.baudRate == 19200) askedAt19200.insert(frame.raw.substr(0, 4));
  EXPECT_EQ(askedAt19200.count("$012"), 0u);
  EXPECT_EQ(askedAt19200.count("$052"), 1u);
}

TEST_F(OrvctlTest, ScanRunsTheRatesOutsideAndSettlesOncePerRate) {
  constexpr auto kSettle = 300ms;
  const auto start = std::chrono::steady_clock::now();
  const Outcome outcome = run({"-t", "20", "scan", "--from", "40", "--to", "43", "--baud",
                               "19200,9600", "--settle", "300"});
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(outcome.status, 1) << "nothing answers there";
  EXPECT_NE(outcome.err.find("no module answered from address 40 to 43"), std::string::npos)
      << outcome.err;
  EXPECT_GE(took, 2 * kSettle);
  const auto frames = net->frames();
  // Four addresses, plain and with checksum, at each rate; the rate changes once.
  ASSERT_EQ(frames.size(), 16u);
  for (std::size_t i = 0; i < frames.size(); ++i)
    EXPECT_EQ(frames[i].baudRate, i < 8 ? 19200 : 9600) << frames[i].raw;
}

TEST_F(OrvctlTest, ScanShowsItsProgressOnATerminalOnly) {
  for (bool terminal : {true, false}) {
    SCOPED_TRACE(terminal ? "terminal" : "pipe");
    OrvctlProcess scan(onLine({"scan", "--to", "2"}), {}, terminal);
    const Outcome outcome = scan.finish();
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(lines(outcome.out).size(), 4u) << outcome.out;  // header and three modules
    if (terminal) {
      EXPECT_NE(outcome.err.find("scan: 9600 bps, address 2 (0..2), 2 found"), std::string::npos)
          << outcome.err;
    } else {
      EXPECT_EQ(outcome.err, "");
    }
  }
}

TEST_F(OrvctlTest, AStoppedScanListsWhatItFoundAndReleasesThePort) {
  OrvctlProcess scan(onLine({"--csv", "scan", "--from", "1", "--settle", "0"}));
  // The modules from address 1 answer at once; the empty ones from 21 on
  // cost two time-outs each.
  ASSERT_TRUE(net->waitForFrames(30, 10s));
  scan.signal(SIGINT);
  const Outcome outcome = scan.finish(5s);
  EXPECT_EQ(outcome.status, 128 + SIGINT);
  EXPECT_NE(outcome.err.find("scan stopped"), std::string::npos) << outcome.err;
  const auto rows = csvRows(outcome.out);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0].at("address"), "1");
  EXPECT_EQ(run({"send", "$01M"}).status, 0) << "the port was let go";
}

}  // namespace
}  // namespace orvctl::test
