// orvadmin on a line through the real ser2net in front of the simulator: the
// search sets each rate on the device server's line over RFC 2217, a raw TCP
// line is searched at its one speed and says so once, an exchange never
// pretends to have changed that speed, and a connection that drops while the
// line is idle comes back as a replugged adapter does (one that drops during
// an exchange: ser2net_poll_test).
#include <QListWidget>
#include <chrono>
#include <thread>

#include "admin/core/command_link.h"
#include "admin/core/orvane_form.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/form_driver.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin {
namespace {

using namespace testing;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr const char* kNoSer2net =
    "ser2net is not installed (Debian package ser2net, which scripts/setup installs)";
// Long enough for ser2net on a loaded machine; every address without a
// module costs it, twice per rate.
constexpr const char* kComCfg = "300\r\n1\r\nn,8,1\r\n9600\r\n";
constexpr std::array<int, 8> k9600And19200{0, 0, 0, 1, 1, 0, 0, 0};
constexpr std::array<int, 8> kOnly9600{0, 0, 0, 1, 0, 0, 0, 0};
// A failure found by the hang-up or a refused connection comes at once; one
// that waited for the reply time-out would take all of it.
constexpr int kLongReplyTimeoutMs = 3000;
constexpr auto kAtOnce = 1500ms;

// A 7213 at 1 (9600 bps) and a 7231 at 2 (19200 bps).
std::vector<sim::ModuleState> twoRates() { return {simModule("7213", 1), simModule("7231", 2, 4)}; }

struct SearchCase {
  const char* name;
  bool raw;
  std::array<int, 8> flags;
  std::vector<int> found;        // addresses, in list order
  std::vector<int> probedRates;  // the rate of each probe on the wire, in order
  std::vector<QString> messages;
};

void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.name; }

class Ser2netSearchTest : public AdminFixture, public ::testing::WithParamInterface<SearchCase> {
 protected:
  Ser2netSearchTest() : form_(*context_) {}

  std::vector<int> probedRates() const {
    std::vector<int> rates;
    for (const auto& frame : settledFrames()) {
      // The probe without checksum: one per address and rate tried.
      if (frame.raw.size() == 5 && frame.raw[0] == '$' && frame.raw[3] == '2')
        rates.push_back(frame.baudRate);
    }
    return rates;
  }

  OrvaneForm form_;
};

TEST_P(Ser2netSearchTest, ProbesEveryRateTheLineCanBeSetTo) {
  const SearchCase& c = GetParam();
  if (!startNetworkBehindSer2net(twoRates(), c.raw)) GTEST_SKIP() << kNoSer2net;
  writeConfigFile("COM.CFG", kComCfg);
  form_.load();
  ASSERT_TRUE(ui_->messages.empty()) << ui_->texts().front().toStdString();
  ASSERT_EQ(context_->ReplyTimeout, 300);
  context_->portSetting(1).SearchFlags = c.flags;
  network_->clearFrames();
  answerSearch(*ui_, {QStringLiteral("2")});
  clickButton(form_, "SearchBtn");

  std::vector<int> found;
  for (int i = 0; i < context_->ModuleCount; ++i)
    found.push_back(context_->ModuleList[static_cast<std::size_t>(i)].Address);
  EXPECT_EQ(found, c.found) << ser2net_->output();
  EXPECT_EQ(ui_->texts(), c.messages);
  for (const auto& shown : ui_->messages) EXPECT_EQ(shown.title, "Search");
  // Over RFC 2217 the rate changed on the simulator's line, not only in our
  // books; a line at a fixed speed is probed once per address.
  EXPECT_EQ(probedRates(), c.probedRates);
  if (c.found.size() == 2) {
    EXPECT_EQ(context_->ModuleList[1].BaudCode, 4) << "the 7231 is listed at 19200";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Ser2netSearchTest,
    ::testing::Values(
        SearchCase{
            "Rfc2217TwoRates", false, k9600And19200, {1, 2}, {9600, 19200, 9600, 9600, 19200}, {}},
        SearchCase{"SocketTwoRates",
                   true,
                   k9600And19200,
                   {1},
                   {9600, 9600, 9600},
                   {QStringLiteral("COM1 is a network line at a fixed speed; the search covers "
                                   "only its speed")}},
        SearchCase{"SocketOneRate", true, kOnly9600, {1}, {9600, 9600, 9600}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

class Ser2netLinkTest : public AdminFixture {
 protected:
  bool startServer(bool raw = false) {
    if (!startNetworkBehindSer2net(twoRates(), raw)) return false;
    openPort();
    setEntry(0, "7213", 1);
    context_->ReplyTimeout = kLongReplyTimeoutMs;
    return true;
  }
  bool readName() {
    context_->LastCommand = "$01M";
    const auto start = Clock::now();
    ExchangeCommand(*context_, 0, 0, context_->ReplyTimeout);
    took_ = Clock::now() - start;
    return context_->LastExchangeOK && context_->LastReply == "!017213";
  }
  // The server's end of the connection has reached this side.
  void waitUntilHungUp() {
    const auto deadline = Clock::now() + 5s;
    while (!context_->OrvComm.port(1).hungUp() && Clock::now() < deadline)
      std::this_thread::sleep_for(5ms);
  }
  std::string refusedText() const {
    const std::string url = ser2net_->rfc2217Url();
    return disconnectedText(
        1, "cannot connect to " + url.substr(url.find("://") + 3) + ": connection refused");
  }

  Clock::duration took_{};
};

TEST_F(Ser2netLinkTest, AConnectionDroppedWhileIdleIsFoundBeforeTheFrameGoesOut) {
  if (!startServer()) GTEST_SKIP() << kNoSer2net;
  ASSERT_TRUE(readName()) << context_->LastLinkError << ser2net_->output();
  context_->reopenInterval = std::chrono::hours(1);

  // Back before the next exchange: that exchange goes out on a new
  // connection, set up as after any open.
  ser2net_->stop();
  waitUntilHungUp();
  ser2net_->start();
  EXPECT_TRUE(readName()) << context_->LastLinkError;

  // Down at the next exchange: it fails at once with the server's refusal,
  // and no exchange tries again within the interval.
  ser2net_->stop();
  waitUntilHungUp();
  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(readName());
    EXPECT_LT(took_, kAtOnce);
    EXPECT_EQ(context_->LastLinkError, refusedText());
  }
  ser2net_->start();
  EXPECT_FALSE(readName()) << "no new try within the interval, although the server is back";
  EXPECT_EQ(context_->LastLinkError, refusedText());
  context_->reopenInterval = 0ms;  // as if the interval had passed
  EXPECT_TRUE(readName()) << context_->LastLinkError;
  EXPECT_EQ(framesSent(), std::vector<std::string>(3, "$01M"))
      << "the failed exchanges sent nothing";
}

TEST_F(Ser2netLinkTest, ALineAtAFixedSpeedNeverPretendsToChangeIt) {
  if (!startServer(true)) GTEST_SKIP() << kNoSer2net;
  context_->portSetting(1).SearchFlags = kOnly9600;
  context_->baudSettlePause = 5ms;
  const struct {
    int entryBaudCode;
    std::string note;
  } cases[] = {
      {4,
       "COM1 is a network line at a fixed speed; commands go out at its speed, not at 19200 "
       "bps"},
      {3, ""},
      {6,
       "COM1 is a network line at a fixed speed; commands go out at its speed, not at 115200 "
       "bps"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entryBaudCode);
    context_->ModuleList[0].BaudCode = c.entryBaudCode;
    EXPECT_TRUE(readName()) << "the module at the server's speed answers: "
                            << context_->LastLinkError;
    EXPECT_EQ(context_->LastLinkNote, c.note);
    EXPECT_EQ(context_->PortBaudCode[0], 3) << "the line's speed, whatever was asked";
  }
  EXPECT_EQ(ui_->paused, 0ms) << "nothing changed on the wire, so nothing settles";
  EXPECT_TRUE(ui_->messages.empty()) << "the link itself shows nothing";
}

}  // namespace
}  // namespace orvane::admin
