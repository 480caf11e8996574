// The analog input test window against the simulator: what a load and a
// tick send, and what the window shows for good, failed and refused replies.
#include "admin/diag/ad_diag_form.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cmath>

#include "admin/core/ui_naming.h"
#include "admin/diag/reading_text.h"
#include "admin/diag/trend_plot.h"
#include "comma_locale.h"
#include "tests/admin/diag/diag_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;

QString reading(int i) { return indexedName(QStringLiteral("Reading"), i); }

class AdDiagTest : public DiagFixture {
 protected:
  // A 7231 at 3 on +/- 10V, channel 5 disabled, channel 0 at 2.5 V.
  ModuleEntry& startModule(const std::string& model = "7231") {
    auto m = simModule(model, 3);
    m.typeCode = model == "7226" ? 0x20 : 0x08;
    m.channelMask = 0xDF;
    m.firmware = "B2.3";
    m.inputs[0] = {.shape = sim::Signal::Shape::Constant, .value = 2.5};
    m.inputs[1] = {.shape = sim::Signal::Shape::Constant, .value = -1.25};
    return start({m});
  }
  TrendPlot& trend() const { return control<TrendPlot>(QStringLiteral("Trend")); }
};

TEST_F(AdDiagTest, LoadReadsTheMaskAndFirmwareAndLaysOutTheRows) {
  startModule();
  open<AdDiagForm>();
  EXPECT_EQ(window_->windowTitle(), "A/D Module Diagnostic");
  EXPECT_EQ(sent(), (std::vector<std::string>{"$036", "$03F"}));
  EXPECT_EQ(text("ModuleName"), "7231");
  EXPECT_EQ(text("Addr"), "3 (03H)");
  EXPECT_EQ(text("Rev"), "B2.3");
  EXPECT_EQ(text(reading(5)), "Disabled");
  EXPECT_EQ(colourOf(control<QLabel>(reading(5))), "rgb(128, 128, 128)");
  EXPECT_TRUE(control<QLabel>(reading(5)).isEnabled()) << "grey by its colour alone";
  EXPECT_EQ(colourOf(control<QLabel>(reading(4))), "");
  EXPECT_FALSE(control<QLabel>(QStringLiteral("OpenStatus")).isVisibleTo(window_.get()));
  EXPECT_FALSE(control<QLabel>(QStringLiteral("Label4")).isVisibleTo(window_.get()));
}

TEST_F(AdDiagTest, TickPollsEveryEnabledChannelAndShowsSignedReadingsWithTheUnit) {
  startModule();
  open<AdDiagForm>();
  EXPECT_EQ(tick(),
            (std::vector<std::string>{"#030", "#031", "#032", "#033", "#034", "#036", "#037"}));
  EXPECT_EQ(text(reading(0)), "+2.5");
  EXPECT_EQ(text(reading(1)), "-1.25");
  EXPECT_EQ(text(indexedName(QStringLiteral("FormatText"), 0)), "V");
  EXPECT_EQ(colourOf(control<QLabel>(reading(0))), "rgb(255, 0, 0)");
  EXPECT_EQ(text(reading(5)), "Disabled");
  EXPECT_EQ(trend().sampleCount(0), 1);
  EXPECT_EQ(trend().sampleCount(5), 0);

  network_->setFault(3, "#AA1", sim::FaultSpec{.silent = true});
  network_->setFault(3, "#AA2", sim::FaultSpec{.reply = "?03\r"});
  tick();
  EXPECT_EQ(text(reading(1)), "*error*");
  EXPECT_EQ(text(reading(2)), "*error*") << "a refusal is no reading";
  EXPECT_EQ(text(reading(0)), "+2.5");
  EXPECT_EQ(trend().sampleCount(1), 2) << "the failure is a gap in the trend, not a 0";
}

TEST_F(AdDiagTest, ThreeChannelModelGreysTheRowsItDoesNotHave) {
  auto& e = startModule("7226");
  e.DataFormat = 3;
  open<AdDiagForm>();
  for (int i = 3; i < 8; ++i) {
    const auto& name = control<QLabel>(indexedName(QStringLiteral("Label3"), i));
    EXPECT_EQ(colourOf(name), "rgb(128, 128, 128)");
    EXPECT_TRUE(name.isEnabled());
    EXPECT_EQ(text(reading(i)), "");
  }
  EXPECT_EQ(colourOf(control<QLabel>(indexedName(QStringLiteral("Label3"), 2))), "");
  EXPECT_EQ(tick(), (std::vector<std::string>{"#030", "#031", "#032"}));
  EXPECT_EQ(text(indexedName(QStringLiteral("FormatText"), 0)), "ohms");
}

TEST_F(AdDiagTest, OpenStatusOfA7234) {
  auto m = simModule("7234", 4);
  m.channelMask = 0x01;
  m.openInputs = 0x21;
  start({m});
  open<AdDiagForm>();
  EXPECT_TRUE(control<QLabel>(QStringLiteral("OpenStatus")).isVisibleTo(window_.get()));
  EXPECT_EQ(tick(), (std::vector<std::string>{"#040", "$04BA"}));
  EXPECT_EQ(text("OpenStatus"), "21");
  network_->setFault(4, "$AABA", sim::FaultSpec{.reply = "?04\r"});
  tick();
  EXPECT_EQ(text("OpenStatus"), "21") << "a refusal leaves the status";
}

TEST_F(AdDiagTest, FirmwareComesOnlyFromAGoodReply) {
  startModule();
  network_->setFault(3, "$AAF", sim::FaultSpec{.reply = "?03\r"});
  open<AdDiagForm>();
  EXPECT_EQ(text("Rev"), "");
  network_->modify(3, [](sim::ModuleState& m) { m.checksum = true; });
  context_->ModuleList[0].ChecksumFlag = 1;
  network_->setFault(3, "$AAF", sim::FaultSpec{.wrongChecksum = true});
  open<AdDiagForm>();
  EXPECT_EQ(text("Rev"), "") << "never a failed read's checksum digits";
}

TEST_F(AdDiagTest, UnreadableMaskLeavesEveryChannelDisabledAndUnpolled) {
  startModule();
  network_->setFault(3, "$AA6", sim::FaultSpec{.reply = "?03\r"});
  open<AdDiagForm>();
  for (int i = 0; i < 8; ++i) EXPECT_EQ(text(reading(i)), "Disabled");
  EXPECT_TRUE(tick().empty());
}

TEST_F(AdDiagTest, APulledAdapterShowsTheLineErrorAndPollingGoesOn) {
  sim::ModuleState m = simModule("7231", 3);
  m.channelMask = 0x01;
  startNetworkOnLink({m});
  openPort();
  setEntry(0, "7231", 3).TypeCode = 0x08;
  context_->SelectedIndex = 0;
  open<AdDiagForm>();
  network_->unplug();
  tick();
  EXPECT_EQ(text(reading(0)), "*error*");
  EXPECT_EQ(text("LinkStatus").toStdString(), disconnectedText());
  EXPECT_TRUE(ui_->messages.empty()) << "no message box from a tick";
  window_->pollOnce();
  EXPECT_EQ(text("LinkStatus").toStdString(), disconnectedText()) << "while the adapter is out";

  network_->replug();
  tick();
  EXPECT_EQ(text("LinkStatus"), "");
  EXPECT_NE(text(reading(0)), "*error*");
}

TEST_F(AdDiagTest, TheTimerPollsWhileShownAndNothingIsSentAfterClose) {
  startModule();
  auto form = std::make_unique<AdDiagForm>(*context_);
  network_->clearFrames();
  form->show();
  EXPECT_TRUE(form->polling());
  EXPECT_TRUE(QTest::qWaitFor([this] { return network_->frames().size() >= 14; }, 5000))
      << "two ticks of 7 reads";
  QTest::keyClick(form.get(), Qt::Key_Escape);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(form->polling());
  const std::size_t count = network_->frames().size();
  QTest::qWait(300);
  EXPECT_EQ(network_->frames().size(), count) << "no frame after the window closed";
}

TEST(ReadingText, SignSeparatorAndFailures) {
  EXPECT_EQ(shownReading("2.5", '.'), "+2.5");
  EXPECT_EQ(shownReading("0", '.'), "+0");
  EXPECT_EQ(shownReading("-12.5", '.'), "-12.5");
  EXPECT_EQ(shownReading("15.32", ','), "+15,32");
  EXPECT_EQ(shownReading("*error*", ','), "*error*");
  EXPECT_EQ(shownReading("", '.'), "");
  EXPECT_TRUE(std::isnan(readingValue("*error*")));
  EXPECT_TRUE(std::isnan(readingValue("")));
  EXPECT_DOUBLE_EQ(readingValue("-12.5"), -12.5);
}

TEST_F(AdDiagTest, ReadingsUnderACommaLocale) {
  orvane::test::CommaLocale locale;
  ASSERT_TRUE(locale.active());
  auto m = simModule("7213", 7);
  start({m});
  auto other = simModule("7231", 3);
  other.typeCode = 0x0C;  // +/- 150mV
  other.channelMask = 0x01;
  other.inputs[0] = {.shape = sim::Signal::Shape::Constant, .value = 15.32};
  network_->addModule(other);
  setEntry(0, "7231", 3).TypeCode = 0x0C;
  context_->DecimalSeparator = ',';
  open<AdDiagForm>();
  tick();
  EXPECT_EQ(text(reading(0)), "+15,32");
}

}  // namespace
}  // namespace orvane::admin
