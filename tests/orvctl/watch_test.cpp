// watch: timestamped lines, a clean end on Ctrl+C and SIGTERM that lets the
// port go, a silent module told once, a pulled adapter told once and the
// watch going on when the line is back.
#include <signal.h>

#include <algorithm>
#include <thread>

#include "orvctl_fixture.h"

namespace orvctl::test {
namespace {

using namespace std::chrono_literals;

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST_F(OrvctlTest, WatchCountsItsLinesWithIncreasingTimestamps) {
  const Outcome csv = run({"--csv", "watch", "2", "--count", "3", "--interval", "50"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(lines(csv.out).at(0), "time,ch0,di,do,error");
  const auto rows = csvRows(csv.out);
  ASSERT_EQ(rows.size(), 3u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].at("ch0"), "2.5");
    EXPECT_EQ(rows[i].at("error"), "");
    if (i) {
      EXPECT_LT(rows[i - 1].at("time"), rows[i].at("time"));
    }
  }
  const Outcome json = run({"--json", "watch", "2", "--count", "2", "--interval", "20"});
  ASSERT_EQ(json.status, 0) << json.err;
  const auto objects = lines(json.out);
  ASSERT_EQ(objects.size(), 2u);
  for (const auto& line : objects) EXPECT_EQ(parsed(line)["ch0"], 2.5);
}

TEST_F(OrvctlTest, CtrlCAndSigtermEndWatchCleanlyAndLetThePortGo) {
  for (int stop : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(stop);
    OrvctlProcess watch(onLine({"watch", "1", "--interval", "100"}));
    ASSERT_TRUE(watch.waitForOutLines(2, 10s)) << watch.err();
    watch.signal(stop);
    const Outcome outcome = watch.finish(3s);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out.back(), '\n') << "a line cut short";
    // The port is free at once for the next program.
    const Outcome next = run({"send", "$01M"});
    EXPECT_EQ(next.status, 0) << next.err;
  }
}

TEST_F(OrvctlTest, ASilentModuleIsToldOnceAndItsLinesCarryTheError) {
  OrvctlProcess watch(onLine({"-t", "150", "--csv", "watch", "2", "--interval", "40"}));
  ASSERT_TRUE(watch.waitForOutLines(3, 10s));
  net->setFault(2, {.silent = true});
  ASSERT_TRUE(watch.waitFor(
      [](const std::string& out, const std::string&) { return count(out, "no reply") >= 3; }, 10s))
      << watch.out();
  net->clearFaults();
  const std::size_t linesThen = lines(watch.out()).size();
  ASSERT_TRUE(watch.waitForOutLines(linesThen + 2, 10s));
  watch.signal(SIGTERM);
  const Outcome outcome = watch.finish(3s);
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(count(outcome.err, "no reply"), 1u) << outcome.err;
  const auto rows = csvRows(outcome.out);
  const auto failed = std::find_if(rows.begin(), rows.end(),
                                   [](const auto& row) { return !row.at("error").empty(); });
  ASSERT_NE(failed, rows.end());
  EXPECT_EQ(failed->at("ch0"), "");
  EXPECT_EQ(rows.back().at("ch0"), "2.5") << "readings again once it answers";
}

class OrvctlUnplugTest : public OrvctlTest {
 protected:
  void SetUp() override {
    link_ = ::testing::TempDir() + "orvctl-unplug-" + std::to_string(::getpid());
    orvane::sim::NetworkOptions options;
    options.linkPath = link_;
    net = std::make_unique<orvane::sim::Network>(std::vector{orvane::sim::makeModule("7213", 1)},
                                                 options);
  }
  std::string link_;
};

TEST_F(OrvctlUnplugTest, APulledAdapterIsToldOnceAndWatchGoesOnWhenTheLineIsBack) {
  OrvctlProcess watch({"-p", link_, "--csv", "watch", "1", "--interval", "30"});
  ASSERT_TRUE(watch.waitForOutLines(3, 10s)) << watch.err();
  net->unplug();
  ASSERT_TRUE(watch.waitForErr("waiting for the line to come back", 10s)) << watch.err();
  std::this_thread::sleep_for(200ms);  // several intervals without the line
  const std::size_t linesWhileOut = lines(watch.out()).size();
  net->replug();
  ASSERT_TRUE(watch.waitForErr("the line is back", 10s)) << watch.err();
  ASSERT_TRUE(watch.waitForOutLines(linesWhileOut + 2, 10s));
  watch.signal(SIGTERM);
  const Outcome outcome = watch.finish(3s);
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(count(outcome.err, "device disconnected"), 1u) << outcome.err;
  EXPECT_EQ(count(outcome.err, "waiting for the line"), 1u) << outcome.err;
  EXPECT_EQ(lines(outcome.err).size(), 2u) << outcome.err;
  for (const auto& row : csvRows(outcome.out)) EXPECT_EQ(row.at("error"), "");
}

}  // namespace
}  // namespace orvctl::test
