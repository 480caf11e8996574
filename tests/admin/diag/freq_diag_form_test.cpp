// The frequency test window against the simulator: what a load and a tick
// send, and what it shows for good, refused, garbled and missing replies.
#include "admin/diag/freq_diag_form.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <chrono>

#include "admin/core/ui_naming.h"
#include "tests/admin/diag/diag_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;
using Frames = std::vector<std::string>;

constexpr int kAddress = 3;

// A 7586 at 03 in frequency mode whose inputs hold still at 1234 and 0 Hz.
sim::ModuleState frequencyModule() {
  auto m = simModule("7586", kAddress);
  m.typeCode = 0x51;
  m.firmware = "F1.7";
  m.counters[0].ratePerS = 1234;
  m.counters[1].ratePerS = 0;
  for (auto& k : m.counters) k.rateSwing = 0;
  return m;
}

QString counter(int c) { return indexedName(QStringLiteral("Counter"), c); }

class FreqDiagTest : public DiagFixture {
 protected:
  void startModule(sim::ModuleState m = frequencyModule()) { start({m}); }
  void replyTo(const char* command, const std::string& reply) {
    network_->setFault(kAddress, command, sim::FaultSpec{.reply = reply});
  }
};

TEST_F(FreqDiagTest, LoadReadsOnlyTheFirmware) {
  startModule();
  open<FreqDiagForm>();
  EXPECT_EQ(window_->windowTitle(), "Frequency Module Diagnostic");
  EXPECT_EQ(sent(), (Frames{"$03F"}));
  EXPECT_EQ(text("ModuleName"), "7586");
  EXPECT_EQ(text("Addr"), "3 (03H)");
  EXPECT_EQ(text("Rev"), "F1.7");
  EXPECT_EQ(text("Label11"), "F/W rev.:");
  EXPECT_EQ(text("Label8"), "Counter 0 (Dec):");
  EXPECT_EQ(text("Label3"), "Counter 1 (Dec):");
  EXPECT_EQ(control<QGroupBox>(QStringLiteral("Frame1")).title(), "Counter/Frequency values");
  EXPECT_EQ(text(counter(0)), "");
  EXPECT_EQ(text(counter(1)), "");
}

TEST_F(FreqDiagTest, FirmwareComesOnlyFromAGoodReply) {
  startModule();
  replyTo("$AAF", "?03\r");
  open<FreqDiagForm>();
  EXPECT_EQ(text("Rev"), "");
}

TEST_F(FreqDiagTest, TickReadsBothChannelsInDecimal) {
  startModule();
  open<FreqDiagForm>();
  EXPECT_EQ(tick(), (Frames{"#030D", "#031D"}));
  EXPECT_EQ(text(counter(0)), "1234");
  EXPECT_EQ(text(counter(1)), "0");
  replyTo("#AA0D", ">0000012345\r");
  replyTo("#AA1D", ">9999999999\r");
  tick();
  EXPECT_EQ(text(counter(0)), "12345") << "without leading zeros";
  EXPECT_EQ(text(counter(1)), "9999999999");
  replyTo("#AA1D", ">0000000000\r");
  tick();
  EXPECT_EQ(text(counter(1)), "0");
}

TEST_F(FreqDiagTest, ReadingsFollowTheModule) {
  startModule();
  open<FreqDiagForm>();
  tick();
  network_->modify(kAddress, [](sim::ModuleState& m) { m.counters[1].ratePerS = 50000; });
  tick();
  EXPECT_EQ(text(counter(1)), "50000");
}

TEST_F(FreqDiagTest, AReplyThatIsNoNumberLeavesTheValue) {
  startModule();
  open<FreqDiagForm>();
  tick();
  for (const std::string reply : {"?03\r", ">\r", ">00000123456\r", ">00001234AB\r",
                                  "!0000004321\r", ">00004 321\r", ">+000004321\r"}) {
    replyTo("#AA0D", reply);
    tick();
    EXPECT_EQ(text(counter(0)), "1234") << reply;
  }
  network_->setFault(kAddress, "#AA0D", sim::FaultSpec{.silent = true});
  tick();
  EXPECT_EQ(text(counter(0)), "1234") << "no answer";
  EXPECT_TRUE(ui_->messages.empty());
}

TEST_F(FreqDiagTest, AModuleAnsweringOnlyChannelZeroFreezesChannelOne) {
  startModule();
  network_->setFault(kAddress, "#AA1D", sim::FaultSpec{.silent = true});
  open<FreqDiagForm>();
  tick();
  EXPECT_EQ(text(counter(0)), "1234");
  network_->modify(kAddress, [](sim::ModuleState& m) { m.counters[0].ratePerS = 777; });
  EXPECT_EQ(tick(), (Frames{"#030D", "#031D"})) << "channel 1 is asked every tick";
  EXPECT_EQ(text(counter(0)), "777");
  EXPECT_EQ(text(counter(1)), "") << "frozen at its design text";
}

TEST_F(FreqDiagTest, ASilentModuleCostsTwoReplyTimeOutsPerTick) {
  startModule();
  open<FreqDiagForm>();
  network_->setFault(kAddress, sim::FaultSpec{.silent = true});
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(tick(), (Frames{"#030D", "#031D"}));
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - started)
                        .count();
  EXPECT_GE(took, 2 * context_->ReplyTimeout - 20);
  EXPECT_LT(took, 2 * context_->ReplyTimeout + 1500);
  EXPECT_EQ(text(counter(0)), "");
  EXPECT_TRUE(ui_->messages.empty());
}

TEST_F(FreqDiagTest, NothingIsWrittenToTheModule) {
  startModule();
  open<FreqDiagForm>();
  network_->clearFrames();
  for (int i = 0; i < 3; ++i) window_->pollOnce();
  QTest::mouseClick(&control<QPushButton>(QStringLiteral("ExitBtn")), Qt::LeftButton);
  EXPECT_FALSE(window_->isVisible());
  for (const auto& frame : sent()) EXPECT_EQ(frame.substr(0, 3), "#03") << frame;
  EXPECT_EQ(sent().size(), 6u) << "three ticks of two reads; nothing at close";
}

TEST_F(FreqDiagTest, APulledAdapterShowsTheLineErrorAndKeepsTheValues) {
  startNetworkOnLink({frequencyModule()});
  openPort();
  setEntry(0, "7586", kAddress).TypeCode = 0x51;
  context_->SelectedIndex = 0;
  open<FreqDiagForm>();
  tick();
  network_->unplug();
  tick();
  EXPECT_EQ(text("LinkStatus").toStdString(), disconnectedText());
  EXPECT_EQ(text(counter(0)), "1234");
  EXPECT_TRUE(ui_->messages.empty()) << "no message box from a tick";

  network_->replug();
  network_->modify(kAddress, [](sim::ModuleState& m) { m.counters[0].ratePerS = 42; });
  tick();
  EXPECT_EQ(text("LinkStatus"), "");
  EXPECT_EQ(text(counter(0)), "42");
}

TEST_F(FreqDiagTest, TheTimerPollsWhileShownAndNothingIsSentAfterClose) {
  startModule();
  auto form = std::make_unique<FreqDiagForm>(*context_);
  network_->clearFrames();
  form->show();
  EXPECT_TRUE(form->polling());
  EXPECT_TRUE(QTest::qWaitFor([this] { return network_->frames().size() >= 4; }, 5000))
      << "two ticks of 2 reads";
  EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("Counter(0)"))->text(), "1234");
  form->close();
  EXPECT_FALSE(form->polling()) << "the close button stops the timer";
  const std::size_t count = network_->frames().size();
  QTest::qWait(300);
  EXPECT_EQ(network_->frames().size(), count) << "no frame after the window closed";
}

}  // namespace
}  // namespace orvane::admin
