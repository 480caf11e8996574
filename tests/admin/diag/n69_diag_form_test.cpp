// The 7469 test window against the simulator: the port directions read at
// load, what a tick and a click send, and what the lamps show for good,
// refused, garbled and missing replies.
#include "admin/diag/n69_diag_form.h"

#include <QGroupBox>
#include <QRegularExpression>
#include <QTest>

#include "admin/core/ui_naming.h"
#include "admin/diag/lamp.h"
#include "tests/admin/diag/diag_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;
using Frames = std::vector<std::string>;

constexpr int kAddress = 0x0E;

class N69DiagTest : public DiagFixture {
 protected:
  // A 7469 at 0E whose inputs hold still: isolated inputs, then ports C, B
  // and A from the high byte down.
  void startModule(int directions, std::uint32_t inputs = 0) {
    auto m = simModule("7469", kAddress);
    m.portDirections = directions;
    m.digitalInputs = inputs;
    m.inputToggleMask = 0;
    m.firmware = "C2.0";
    start({m});
  }
  N69DiagForm& openWindow() { return open<N69DiagForm>(); }

  Lamp& lamp(const char* array, int n) const {
    return control<Lamp>(indexedName(QString::fromLatin1(array), n));
  }
  unsigned litBits(const char* array, int count) const {
    unsigned bits = 0;
    for (int n = 0; n < count; ++n) bits |= lamp(array, n).lit() ? 1u << n : 0u;
    return bits;
  }
  QGroupBox& frame(int k) const {
    return control<QGroupBox>(indexedName(QStringLiteral("Frame1"), k));
  }
  QString frameColour(int k) const {
    const auto match =
        QRegularExpression(QStringLiteral("rgb\\([^)]*\\)")).match(frame(k).styleSheet());
    return match.hasMatch() ? match.captured(0) : QString();
  }
  Frames click(const char* array, int n) {
    network_->clearFrames();
    QTest::mouseClick(&lamp(array, n), Qt::LeftButton);
    return sent();
  }
  void replyToRead(const std::string& reply) {
    network_->setFault(kAddress, "$AA6", sim::FaultSpec{.reply = reply});
  }
  std::uint32_t moduleOutputs() const { return network_->state(kAddress).digitalOutputs; }
};

const char* const kGreen = "rgb(0, 128, 0)";
const char* const kRed = "rgb(255, 0, 0)";

TEST_F(N69DiagTest, LoadReadsFirmwareAndDirectionsAndSwitchesEveryOutputOff) {
  startModule(0x0C);
  network_->modify(kAddress, [](sim::ModuleState& m) { m.digitalOutputs = 0xFF0000; });
  openWindow();
  EXPECT_EQ(window_->windowTitle(), "Digital I/O Module Diagnostic");
  EXPECT_EQ(sent(), (Frames{"$0EF", "$0E6", "#0ET000000"}));
  EXPECT_EQ(text("ModuleName"), "7469");
  EXPECT_EQ(text("Addr"), "14 (0EH)");
  EXPECT_EQ(text("Rev"), "C2.0");
  EXPECT_EQ(moduleOutputs(), 0u);
  const char* titles[] = {"Port A (input)", "Port B (input)", "Port CH (output)",
                          "Port CL (output)"};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(frame(k).title(), titles[k]);
    EXPECT_EQ(frameColour(k), k < 2 ? kGreen : kRed) << k;
  }
  EXPECT_EQ(control<QGroupBox>(QStringLiteral("Frame2")).title(), "Digital input");
  EXPECT_EQ(litBits("CHbit", 4) | litBits("CLbit", 4), 0u);
}

TEST_F(N69DiagTest, TickShowsTheIsolatedInputsAndEveryInputPort) {
  startModule(0x0F, 0x0A'C3'22'11);
  openWindow();
  EXPECT_EQ(tick(), (Frames{"$0E6"}));
  EXPECT_EQ(litBits("Ibit", 4), 0x0Au);
  EXPECT_EQ(litBits("Abit", 8), 0x11u);
  EXPECT_EQ(litBits("Bbit", 8), 0x22u);
  EXPECT_EQ(litBits("CHbit", 4), 0x0Cu) << "bits 4-7 of port C";
  EXPECT_EQ(litBits("CLbit", 4), 0x03u) << "bits 0-3 of port C";
}

TEST_F(N69DiagTest, InputHalvesOfPortCAndClicksOnInputsDoNothing) {
  startModule(0x03, 0x00'A5'00'00);  // CH and CL in, A and B out
  openWindow();
  EXPECT_EQ(frame(0).title(), "Port A (output)");
  EXPECT_EQ(frame(3).title(), "Port CL (input)");
  EXPECT_TRUE(click("CHbit", 0).empty());
  EXPECT_TRUE(click("CLbit", 3).empty());
  lamp("CLbit", 1).setFocus();
  QTest::keyClick(&lamp("CLbit", 1), Qt::Key_Space);
  EXPECT_TRUE(sent().empty());
  EXPECT_FALSE(lamp("CHbit", 0).lit());
  tick();
  EXPECT_EQ(litBits("CHbit", 4), 0x0Au);
  EXPECT_EQ(litBits("CLbit", 4), 0x05u);
  EXPECT_EQ(click("Abit", 0), (Frames{"#0E0A01"}));
}

TEST_F(N69DiagTest, WithCHAnInputAndCLAnOutputTheTickLeavesTheCLLamps) {
  startModule(0x02, 0x00'A0'00'00);
  openWindow();
  EXPECT_EQ(click("CLbit", 0), (Frames{"#0E0C01"}));
  replyToRead("!02000000A0\r");  // port C low bits read as 0
  tick();
  EXPECT_EQ(litBits("CHbit", 4), 0x0Au) << "bits 4-7 of port C";
  EXPECT_EQ(litBits("CLbit", 4), 0x01u) << "an output's lamps show what the user set";
}

TEST_F(N69DiagTest, TheTickNeverTouchesTheLampsOfOutputPorts) {
  startModule(0x00);
  openWindow();
  replyToRead("!000FFFFFFF\r");
  tick();
  EXPECT_EQ(litBits("Ibit", 4), 0x0Fu);
  EXPECT_EQ(litBits("Abit", 8) | litBits("Bbit", 8), 0u);
  EXPECT_EQ(litBits("CHbit", 4) | litBits("CLbit", 4), 0u);
}

TEST_F(N69DiagTest, ClicksWriteTheWholePortWithTheHeldBits) {
  startModule(0x00);
  openWindow();
  EXPECT_EQ(click("CHbit", 0), (Frames{"#0E0C10"}));
  EXPECT_EQ(click("CLbit", 0), (Frames{"#0E0C11"}));
  EXPECT_EQ(click("Abit", 7), (Frames{"#0E0A80"}));
  EXPECT_EQ(click("Bbit", 2), (Frames{"#0E0B04"}));
  EXPECT_EQ(click("Bbit", 5), (Frames{"#0E0B24"}));
  EXPECT_EQ(moduleOutputs(), 0x11'24'80u);
  EXPECT_EQ(click("CHbit", 0), (Frames{"#0E0C01"}));
  EXPECT_FALSE(lamp("CHbit", 0).lit());
  EXPECT_TRUE(lamp("CLbit", 0).lit());
  EXPECT_EQ(litBits("Bbit", 8), 0x24u);
}

TEST_F(N69DiagTest, AWriteTheModuleDidNotTakeSwitchesTheLampAndThePortBack) {
  startModule(0x00);
  openWindow();
  click("Abit", 0);
  network_->setFault(kAddress, "#AA0A*", sim::FaultSpec{.refuseAll = true});
  EXPECT_EQ(click("Abit", 1), (Frames{"#0E0A03"}));
  EXPECT_FALSE(lamp("Abit", 1).lit()) << "refused";
  network_->setFault(kAddress, "#AA0A*", sim::FaultSpec{.silent = true});
  EXPECT_EQ(click("Abit", 0), (Frames{"#0E0A00"}));
  EXPECT_TRUE(lamp("Abit", 0).lit()) << "no answer";
  EXPECT_TRUE(ui_->messages.empty()) << "a failed write is not reported";

  network_->clearFaults();
  EXPECT_EQ(click("Abit", 2), (Frames{"#0E0A05"})) << "never the bit the module refused";
  EXPECT_EQ(litBits("Abit", 8), 0x05u);
  EXPECT_EQ(moduleOutputs(), 0x05u);
}

TEST_F(N69DiagTest, ARefusedOrShortDirectionReadIsNoDirection) {
  startModule(0x0C, 0x0F'00'FF'FF);
  for (const std::string reply : {"?0E\r", "!0C0000\r"}) {
    SCOPED_TRACE(reply);
    replyToRead(reply);
    openWindow();
    EXPECT_EQ(frame(0).title(), "Port A") << "the caption stays";
    EXPECT_EQ(frameColour(0), "");
    network_->clearFaults();
    tick();
    EXPECT_EQ(litBits("Ibit", 4), 0x0Fu);
    EXPECT_EQ(litBits("Abit", 8), 0u) << "a port not known as an input is not shown as one";
  }
  // Every port counts as an output: a click goes out, and the module's
  // refusal switches the lamp back.
  EXPECT_EQ(click("Abit", 0), (Frames{"#0E0A01"}));
  EXPECT_FALSE(lamp("Abit", 0).lit());
}

TEST_F(N69DiagTest, NoPrefixOfAGoodReplyIsTaken) {
  startModule(0x0F, 0x05'00'00'33);
  const std::string good = "!0F0A11223C";
  for (std::size_t n = 0; n < good.size(); ++n) {
    SCOPED_TRACE(n);
    replyToRead(good.substr(0, n) + "\r");
    openWindow();
    EXPECT_EQ(frame(1).title(), "Port B");
    tick();
    EXPECT_EQ(litBits("Abit", 8), 0u);
    EXPECT_EQ(litBits("Ibit", 4), 0u);
  }
  network_->clearFaults();
  openWindow();
  tick();
  EXPECT_EQ(litBits("Abit", 8), 0x33u);
  for (std::size_t n = 0; n < good.size(); ++n) {
    replyToRead(good.substr(0, n) + "\r");
    tick();
    EXPECT_EQ(litBits("Abit", 8), 0x33u) << n;
    EXPECT_EQ(litBits("Ibit", 4), 0x05u) << n;
  }
  replyToRead(good + "\r");
  tick();
  EXPECT_EQ(litBits("Abit", 8), 0x11u);
  EXPECT_EQ(litBits("CHbit", 4), 0x03u);
}

TEST_F(N69DiagTest, MissingAndGarbledReadsKeepTheLamps) {
  startModule(0x0F, 0x05'00'00'33);
  openWindow();
  tick();
  network_->modify(kAddress, [](sim::ModuleState& m) { m.digitalInputs = 0; });
  network_->setFault(kAddress, "$AA6", sim::FaultSpec{.silent = true});
  tick();
  EXPECT_EQ(litBits("Abit", 8), 0x33u);
  network_->setFault(kAddress, "$AA6", sim::FaultSpec{.garbage = true});
  tick();
  EXPECT_EQ(litBits("Abit", 8), 0x33u);
  replyToRead("!0F0X000000\r");
  tick();
  EXPECT_EQ(litBits("Ibit", 4), 0x05u);
}

TEST_F(N69DiagTest, FirmwareComesOnlyFromAGoodReply) {
  startModule(0x0C);
  network_->setFault(kAddress, "$AAF", sim::FaultSpec{.reply = "?0E\r"});
  openWindow();
  EXPECT_EQ(text("Rev"), "");
}

TEST_F(N69DiagTest, TheTimerPollsWhileShownAndNothingIsSentAfterClose) {
  startModule(0x0F, 0x00'00'00'81);
  auto form = std::make_unique<N69DiagForm>(*context_);
  network_->clearFrames();
  form->show();
  EXPECT_TRUE(QTest::qWaitFor([this] { return network_->frames().size() >= 2; }, 5000));
  EXPECT_TRUE(form->findChild<Lamp*>(QStringLiteral("Abit(7)"))->lit());
  form->close();
  EXPECT_FALSE(form->polling());
  const std::size_t count = network_->frames().size();
  QTest::qWait(300);
  EXPECT_EQ(network_->frames().size(), count) << "no frame after the window closed";
}

}  // namespace
}  // namespace orvane::admin
