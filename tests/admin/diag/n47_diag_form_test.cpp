// The 7347 test window against the simulator: the four outputs it sets to
// 0 V when it opens, the command of every settled bar, and the input lamps
// for good, refused, garbled and missing replies.
#include "admin/diag/n47_diag_form.h"

#include <QGroupBox>
#include <QScrollBar>
#include <QTest>

#include "admin/core/ui_naming.h"
#include "admin/diag/lamp.h"
#include "comma_locale.h"
#include "tests/admin/diag/diag_fixture.h"
#include "tests/admin/diag/scroll_bar_user.h"

namespace orvane::admin {
namespace {

using namespace testing;
using Frames = std::vector<std::string>;

class N47DiagTest : public DiagFixture {
 protected:
  // A 7347 at 5 whose outputs stand away from 0 V, inputs 0, 2, 4 and 6 on.
  ModuleEntry& startModule() {
    auto m = simModule("7347", 5);
    m.firmware = "D0.9";
    m.outputs = {1.5, -2.5, 7.0, -9.0};
    m.digitalInputs = 0x55;
    m.inputToggleMask = 0;  // no line moves by itself
    return start({m});
  }
  QScrollBar& bar(int k) const {
    return control<QScrollBar>(indexedName(QStringLiteral("DaScroll"), k));
  }
  QString shown(int k) const { return text(indexedName(QStringLiteral("DA_data"), k)); }
  // The lamps as a bit pattern, bit i lit for input i.
  unsigned lamps() const {
    unsigned bits = 0;
    for (int i = 0; i < 7; ++i)
      if (control<Lamp>(indexedName(QStringLiteral("InputBit"), i)).lit()) bits |= 1U << i;
    return bits;
  }
  double output(int k) const { return network_->state(5).outputs[static_cast<std::size_t>(k)]; }
  Frames sentBy(const std::function<void()>& act) {
    network_->clearFrames();
    act();
    return sent();
  }
  // A tick whose "$AA8" is answered with exactly these bytes.
  void tickWithReply(const std::string& bytes) {
    network_->setFault(5, "$AA8", sim::FaultSpec{.reply = bytes});
    tick();
  }
};

TEST_F(N47DiagTest, OpeningPutsTheFourOutputsAtZeroVoltsInOrder) {
  startModule();
  open<N47DiagForm>();
  EXPECT_EQ(sent(), (Frames{"$05F", "#05A+00.000", "#05B+00.000", "#05C+00.000", "#05D+00.000"}));
  for (int k = 0; k < 4; ++k) {
    EXPECT_DOUBLE_EQ(output(k), 0.0) << "output " << k;
    EXPECT_EQ(shown(k), "0.000");
    EXPECT_EQ(bar(k).value(), 0);
    EXPECT_EQ(bar(k).minimum(), -32767);
    EXPECT_EQ(bar(k).maximum(), 32767);
    EXPECT_EQ(bar(k).singleStep(), 328);
    EXPECT_EQ(bar(k).pageStep(), 3277);
    EXPECT_EQ(text(indexedName(QStringLiteral("LowRange"), k)), "-10");
    EXPECT_EQ(text(indexedName(QStringLiteral("HighRange"), k)), "10");
  }
  EXPECT_EQ(control<QGroupBox>(QStringLiteral("Frame1")).title(), "PortA");
  EXPECT_EQ(control<QGroupBox>(QStringLiteral("Frame4")).title(), "PortD");
  EXPECT_EQ(control<QGroupBox>(QStringLiteral("Frame5")).title(), "Digital input");
  for (int i = 0; i < 8; ++i) EXPECT_EQ(text(indexedName(QStringLiteral("DataFormat"), i)), "V");
  EXPECT_EQ(text("Label_di7(6)"), "6");
  EXPECT_EQ(window_->windowTitle(), "D/A Module Diagnostic");
  EXPECT_EQ(text("ModuleName"), "7347");
  EXPECT_EQ(text("Addr"), "5 (05H)");
  EXPECT_EQ(text("Rev"), "D0.9");
  EXPECT_EQ(lamps(), 0U) << "the lamps wait for the first tick";
}

TEST_F(N47DiagTest, TickReadsTheInputsAndLightsTheirLamps) {
  startModule();
  open<N47DiagForm>();
  EXPECT_EQ(tick(), Frames{"$058"});
  EXPECT_EQ(lamps(), 0x55U);
  network_->modify(5, [](sim::ModuleState& m) { m.digitalInputs = 0x2A; });
  tick();
  EXPECT_EQ(lamps(), 0x2AU);
  network_->modify(5, [](sim::ModuleState& m) { m.polarity = 1; });
  tick();
  EXPECT_EQ(lamps(), 0x55U) << "the module inverts its inputs; the window shows what it reports";
}

TEST_F(N47DiagTest, OnlyASevenCharacterReplyChangesTheLamps) {
  startModule();
  open<N47DiagForm>();
  tickWithReply("!7F0000\r");
  EXPECT_EQ(lamps(), 0x7FU);
  tickWithReply("!000000\r");
  EXPECT_EQ(lamps(), 0U);
  tickWithReply("!FF0000\r");
  EXPECT_EQ(lamps(), 0x7FU) << "bit 7 has no lamp";
  tickWithReply("!0000000\r");
  EXPECT_EQ(lamps(), 0x7FU) << "another length changes nothing";
  tickWithReply("?05\r");
  EXPECT_EQ(lamps(), 0x7FU) << "a refusal changes nothing";
  tickWithReply("!0G0000\r");
  EXPECT_EQ(lamps(), 0x7FU) << "garbled digits change nothing";
  tickWithReply("!000000");
  EXPECT_EQ(lamps(), 0x7FU) << "a reply cut off before its CR changes nothing";
  network_->setFault(5, "$AA8", sim::FaultSpec{.silent = true});
  tick();
  EXPECT_EQ(lamps(), 0x7FU) << "a silent module changes nothing";
  network_->clearFaults();
  tick();
  EXPECT_EQ(lamps(), 0x55U) << "the next good read shows again";
}

TEST_F(N47DiagTest, NoPrefixOfAGoodReplyAndNoRefusalMovesALamp) {
  startModule();
  open<N47DiagForm>();
  tick();
  const std::string good = "!2A0000";
  for (std::size_t n = 0; n < good.size(); ++n) {
    tickWithReply(good.substr(0, n) + "\r");
    EXPECT_EQ(lamps(), 0x55U) << good.substr(0, n);
  }
  tickWithReply("?05\r");
  EXPECT_EQ(lamps(), 0x55U);
  tickWithReply(good + "\r");
  EXPECT_EQ(lamps(), 0x2AU);
}

TEST_F(N47DiagTest, EachBarDrivesItsOwnOutputWithSignAndTwoDigitVolts) {
  startModule();
  open<N47DiagForm>();
  EXPECT_EQ(sentBy([&] { bar(1).setValue(16384); }), Frames{"#05B+05.000"});
  EXPECT_EQ(shown(1), "5.000");
  EXPECT_NEAR(output(1), 5.0, 1e-9);
  EXPECT_EQ(sentBy([&] { bar(3).setValue(-32767); }), Frames{"#05D-10.000"});
  EXPECT_EQ(shown(3), "-10.000");
  EXPECT_DOUBLE_EQ(output(3), -10.0);
  EXPECT_EQ(sentBy([&] { bar(0).setValue(32767); }), Frames{"#05A+10.000"});
  EXPECT_EQ(sentBy([&] { QTest::keyClick(&bar(2), Qt::Key_Left); }), Frames{"#05C-00.100"});
  EXPECT_EQ(shown(2), "-0.100");
  EXPECT_DOUBLE_EQ(output(0), 10.0);
  EXPECT_EQ(shown(0), "10.000");
  EXPECT_EQ(shown(1), "5.000") << "the other bars keep their values";
}

TEST_F(N47DiagTest, DraggingABarShowsTheValueAndSendsOnlyWhereItIsReleased) {
  startModule();
  open<N47DiagForm>();
  window_->resize(700, window_->height());
  network_->clearFrames();
  QStringList values;
  dragThumb(bar(2), {-20, -40, -60}, [&] {
    values << shown(2);
    EXPECT_TRUE(sent().empty()) << "nothing is written while the thumb is held";
  });
  ASSERT_LT(bar(2).value(), 0);
  EXPECT_NE(values.front(), values.back());
  EXPECT_EQ(values.back(), shown(2));
  const Frames frames = sent();
  ASSERT_EQ(frames.size(), 1U) << "one write on release";
  EXPECT_TRUE(frames.front().starts_with("#05C-")) << frames.front();
  EXPECT_NEAR(output(2), bar(2).value() * 20.0 / 65534, 0.001);
  EXPECT_DOUBLE_EQ(output(1), 0.0);
}

TEST_F(N47DiagTest, TheTimerPollsWhileShownAndNothingIsSentAfterClose) {
  startModule();
  auto form = std::make_unique<N47DiagForm>(*context_);
  network_->clearFrames();
  form->show();
  EXPECT_TRUE(form->polling());
  EXPECT_TRUE(QTest::qWaitFor([this] { return network_->frames().size() >= 3; }, 5000));
  for (const std::string& frame : sent()) EXPECT_EQ(frame, "$058");
  EXPECT_EQ(form->findChild<Lamp*>(QStringLiteral("InputBit(0)"))->lit(), true);
  QTest::keyClick(form.get(), Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(form->polling());
  const std::size_t count = network_->frames().size();
  QTest::qWait(300);
  EXPECT_EQ(network_->frames().size(), count) << "no frame after the window closed";
  EXPECT_DOUBLE_EQ(output(0), 0.0) << "closing leaves the outputs";
}

TEST_F(N47DiagTest, APulledAdapterShowsTheLineErrorAndPollingGoesOn) {
  auto m = simModule("7347", 5);
  m.digitalInputs = 0x03;
  m.inputToggleMask = 0;
  startNetworkOnLink({m});
  openPort();
  setEntry(0, "7347", 5).TypeCode = 0x33;
  context_->SelectedIndex = 0;
  open<N47DiagForm>();
  tick();
  network_->unplug();
  tick();
  EXPECT_EQ(text("LinkStatus").toStdString(), disconnectedText());
  EXPECT_EQ(lamps(), 0x03U) << "the lamps keep their state";
  EXPECT_TRUE(ui_->messages.empty()) << "no message box from a tick";
  QTest::keyClick(&bar(0), Qt::Key_Right);
  EXPECT_EQ(text("LinkStatus").toStdString(), disconnectedText()) << "while the adapter is out";

  network_->replug();
  network_->modify(5, [](sim::ModuleState& s) { s.digitalInputs = 0x04; });
  tick();
  EXPECT_EQ(text("LinkStatus"), "");
  EXPECT_EQ(lamps(), 0x04U);
}

TEST_F(N47DiagTest, FirmwareComesOnlyFromAGoodReply) {
  startModule();
  network_->setFault(5, "$AAF", sim::FaultSpec{.reply = "?05\r"});
  open<N47DiagForm>();
  EXPECT_EQ(text("Rev"), "");
  EXPECT_EQ(sent().size(), 5U) << "the outputs are set all the same";
}

TEST_F(N47DiagTest, CommandsKeepThePointUnderADecimalCommaLocale) {
  orvane::test::CommaLocale locale;
  ASSERT_TRUE(locale.active()) << "the test locale de_DE.UTF-8 is missing";
  startModule();
  context_->DecimalSeparator = ',';
  open<N47DiagForm>();
  EXPECT_EQ(sent().back(), "#05D+00.000");
  EXPECT_EQ(shown(0), "0,000");
  EXPECT_EQ(sentBy([&] { bar(1).setValue(-16384); }), Frames{"#05B-05.000"});
  EXPECT_EQ(shown(1), "-5,000");
  EXPECT_NEAR(output(1), -5.0, 1e-9);
}

}  // namespace
}  // namespace orvane::admin
