// A diagnostic window polling a module through the real ser2net in front of
// the simulator: the module's rate is set on the device server's line over
// RFC 2217, and a connection that drops in the middle of a tick fails that
// tick on the window's line, without a message box, until the server is
// back.
#include <thread>

#include "admin/core/ui_naming.h"
#include "admin/diag/ad_diag_form.h"
#include "tests/admin/diag/diag_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;
using namespace std::chrono_literals;

// Through ser2net on a loaded machine.
constexpr int kReplyTimeoutMs = 1000;

QString reading(int i) { return indexedName(QStringLiteral("Reading"), i); }

class Ser2netPollTest : public DiagFixture {
 protected:
  // A 7231 at 3, at 19200 bps, with channels 0 and 1 enabled.
  bool startModule() {
    auto m = simModule("7231", 3, 4);
    m.channelMask = 0x03;
    m.inputs[0] = {.shape = sim::Signal::Shape::Constant, .value = 2.5};
    m.inputs[1] = {.shape = sim::Signal::Shape::Constant, .value = -1.25};
    if (!startNetworkBehindSer2net({m})) return false;
    openPort();
    ModuleEntry& entry = setEntry(0, "7231", 3, 4);
    entry.TypeCode = 0x08;
    context_->ModuleCount = 1;
    context_->SelectedIndex = 0;
    context_->ReplyTimeout = context_->LongReplyTimeout = kReplyTimeoutMs;
    return true;
  }
  bool readingsShown() const {
    return text(reading(0)) == "+2.5" && text(reading(1)) == "-1.25" && text("LinkStatus") == "";
  }
};

TEST_F(Ser2netPollTest, PollsThroughTheServerAndComesBackAfterADroppedConnection) {
  if (!startModule())
    GTEST_SKIP() << "ser2net is not installed (Debian package ser2net, which scripts/setup "
                    "installs)";
  open<AdDiagForm>();
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(tick(), (std::vector<std::string>{"#030", "#031"}));
    EXPECT_TRUE(readingsShown()) << text(reading(0)).toStdString() << " "
                                 << text("LinkStatus").toStdString();
  }
  EXPECT_EQ(settledFrames().back().baudRate, 19200) << "set on the far line";

  // The server ends while the tick waits for the module's reply.
  network_->setFault(3, sim::FaultSpec{.silent = true});
  network_->clearFrames();
  std::thread stopper([&] {
    if (network_->waitForFrames(1, 5s)) ser2net_->stop();
  });
  window_->pollOnce();
  stopper.join();
  EXPECT_EQ(text(reading(0)), "*error*");
  EXPECT_EQ(text(reading(1)), "*error*");
  EXPECT_EQ(text("LinkStatus").toStdString(), disconnectedText());
  EXPECT_TRUE(ui_->messages.empty()) << "no message box from a tick";

  network_->clearFaults();
  ser2net_->start();
  tick();
  EXPECT_TRUE(readingsShown()) << text("LinkStatus").toStdString();
  EXPECT_EQ(settledFrames().back().baudRate, 19200) << "set again on the new connection";
}

}  // namespace
}  // namespace orvane::admin
