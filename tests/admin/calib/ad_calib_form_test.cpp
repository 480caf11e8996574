// The analog input calibration window against the simulator: the steps and
// what each shows, the offset and span commands and their effect on the
// module's readings, the cold-junction sequence with its failures, and the
// points the module does not confirm.
#include "admin/calib/ad_calib_form.h"

#include <QApplication>
#include <QLocale>
#include <QTest>

#include "admin/core/command_link.h"
#include "admin/core/startup.h"
#include "comma_locale.h"
#include "tests/admin/calib/calib_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;
using Shape = sim::Signal::Shape;

const QString kStep1 =
    "Apply power to the analog input module and let it warm up for about 30 minutes.";
const QString kStep2 =
    "Assure that the module is correctly installed and the input range shown above is what you "
    "want to calibrate.";

class AdCalibTest : public CalibFixture {
 protected:
  // A module whose channel 0 holds a steady value.
  static sim::ModuleState steady(const std::string& model, int address, int typeCode,
                                 double value) {
    auto m = simModule(model, address);
    m.typeCode = typeCode;
    for (auto& s : m.inputs) s = sim::Signal{Shape::Constant, value, 0, 1};
    return m;
  }
  // The 7234 at 1 of the worked case: its sensor reads 25.0, its offset of
  // +2.0 makes it 27.0, while its terminals are at 26.3; a thermocouple at
  // 300 degrees.
  static sim::ModuleState workedCase() {
    auto m = steady("7234", 1, 0x0F, 300.0);
    m.cjcTemperature = 25.0;
    m.cjcOffset = 2.0;
    m.cjcSensorError = -1.3;
    return m;
  }
  void startWorkedCase() { start({workedCase()}); }
  // Steps 1 and 2 and the kind's button.
  void walkTo(const char* kindButton) {
    click("NextBtn");
    click(kindButton);
  }
  void execute(const QString& target) {
    field("CJCInput").setText(target);
    click("NextBtn");
  }
  double cjcOffset() const { return network_->state(context_->ModuleList[0].Address).cjcOffset; }
  std::string reading() { return ReadAnalogValue(*context_, 0, 0); }
};

TEST_F(AdCalibTest, OpensAtStep1WithTheModuleItsAddressAndRange) {
  start({steady("7234", 255, 0x0F, 20.0)});
  open<AdCalibForm>();
  EXPECT_EQ(window_->objectName(), "AdCalibForm");
  EXPECT_EQ(window_->windowTitle(), "Analog Input Calibration");
  EXPECT_EQ(text("ModuleName"), "7234");
  EXPECT_EQ(text("Addr"), "255 (FFH)");
  EXPECT_EQ(text("RangeText"), "T/C Type K");
  EXPECT_EQ(text("Label1"), "Module:");
  EXPECT_EQ(text("Label2"), "Address:");
  EXPECT_EQ(text("Label3"), "Input range:");
  EXPECT_EQ(text("Label4"), "Step");
  EXPECT_EQ(text("CJCLabel"), "CJC temperature =");
  EXPECT_EQ(text("CJCInputLabel"), "Please input target temperature then press 'Execute' button:");
  EXPECT_EQ(text("StepNo"), "1");
  EXPECT_EQ(text("GuideText"), kStep1);
  EXPECT_FALSE(button("BackBtn").isEnabled());
  EXPECT_TRUE(button("NextBtn").isEnabled());
  EXPECT_EQ(button("NextBtn").text(), "Next >");
  EXPECT_EQ(button("BackBtn").text(), "< Back");
  EXPECT_EQ(button("ExitBtn").text(), "Exit");
  EXPECT_TRUE(button("NextBtn").isDefault());
  for (const char* hidden :
       {"OffsetBtn", "SpanBtn", "CJCBtn", "Reading", "CJCInput", "Temperature"})
    EXPECT_FALSE(visible(hidden)) << hidden;
  EXPECT_TRUE(visible("GuideText"));
  EXPECT_TRUE(sent().empty()) << "nothing is asked before a step needs it";
}

TEST_F(AdCalibTest, StepsEnableAndCaptionThroughAllKindsAndBack) {
  start({steady("7234", 6, 0x0F, 20.0)});
  open<AdCalibForm>();
  const QString vin0 =
      "Use a precision voltage source to apply the voltage shown below to the module's Vin0+ "
      "and Vin0- terminals, then press 'Execute' button.";
  click("NextBtn");
  EXPECT_EQ(text("StepNo"), "2");
  EXPECT_EQ(text("GuideText"), kStep2);
  EXPECT_TRUE(button("BackBtn").isEnabled());
  EXPECT_FALSE(button("NextBtn").isEnabled());
  for (const char* shown : {"OffsetBtn", "SpanBtn", "CJCBtn"}) EXPECT_TRUE(visible(shown)) << shown;
  EXPECT_EQ(button("OffsetBtn").text(), "Offset");
  EXPECT_EQ(button("SpanBtn").text(), "Span");
  EXPECT_EQ(button("CJCBtn").text(), "CJC");

  EXPECT_TRUE(sentBy([&] { click("OffsetBtn"); }).empty());
  EXPECT_EQ(text("StepNo"), "3");
  EXPECT_EQ(text("GuideText"), vin0);
  EXPECT_TRUE(visible("GuideText"));
  EXPECT_TRUE(visible("Reading"));
  EXPECT_EQ(text("Reading"), "0 mV");
  EXPECT_FALSE(visible("CJCInput"));
  EXPECT_EQ(button("NextBtn").text(), "Execute");
  EXPECT_TRUE(button("NextBtn").isEnabled());
  for (const char* hidden : {"OffsetBtn", "SpanBtn", "CJCBtn"})
    EXPECT_FALSE(visible(hidden)) << hidden;

  click("BackBtn");
  EXPECT_EQ(text("StepNo"), "2");
  EXPECT_FALSE(visible("Reading"));
  EXPECT_FALSE(button("NextBtn").isEnabled());
  EXPECT_EQ(button("NextBtn").text(), "Execute") << "the caption is not set back";

  click("SpanBtn");
  EXPECT_EQ(text("Reading"), "+55 mV");
  click("BackBtn");
  const Frames cjc = sentBy([&] { click("CJCBtn"); });
  EXPECT_EQ(cjc, Frames{"$063"}) << "the temperature is read as the step opens";
  EXPECT_EQ(text("StepNo"), "3");
  EXPECT_FALSE(visible("GuideText"));
  EXPECT_FALSE(visible("Reading"));
  for (const char* shown : {"CJCLabel", "Temperature", "CJCInputLabel", "CJCInput", "DegreeLabel"})
    EXPECT_TRUE(visible(shown)) << shown;
  EXPECT_EQ(text("Temperature"), "25.0");

  click("BackBtn");
  EXPECT_TRUE(visible("GuideText"));
  EXPECT_FALSE(visible("CJCInput"));
  click("BackBtn");
  EXPECT_EQ(text("StepNo"), "1");
  EXPECT_EQ(text("GuideText"), kStep1);
  EXPECT_FALSE(button("BackBtn").isEnabled());
  EXPECT_TRUE(button("NextBtn").isEnabled());
  EXPECT_FALSE(visible("OffsetBtn"));
  click("NextBtn");
  EXPECT_EQ(text("StepNo"), "2") << "\"Execute\" at step 1 still leads to step 2";
}

TEST_F(AdCalibTest, TheGuideOfStep2FitsInTheWindow) {
  start({steady("7234", 1, 0x0F, 20.0)});
  open<AdCalibForm>();
  click("NextBtn");
  QApplication::processEvents();
  ASSERT_EQ(text("StepNo"), "2");
  auto& guide = control<QLabel>(QStringLiteral("GuideText"));
  EXPECT_GE(guide.height(), guide.heightForWidth(guide.width())) << "the guide is cut off";
}

TEST_F(AdCalibTest, OnlyThe7213AndThe7234OfferTheColdJunction) {
  start({simModule("7213", 1)});
  for (const auto& [model, offered] : std::vector<std::pair<std::string, bool>>{{"7213", true},
                                                                                {"7215", false},
                                                                                {"7228", false},
                                                                                {"7226", false},
                                                                                {"7231", false},
                                                                                {"7234", true}}) {
    setEntry(0, model, 1);
    open<AdCalibForm>();
    click("NextBtn");
    EXPECT_EQ(visible("CJCBtn"), offered) << model;
    EXPECT_TRUE(visible("SpanBtn")) << model;
  }
}

TEST_F(AdCalibTest, TheReferenceOfTheRangeIsShownAtStep3) {
  start({simModule("7226", 4)});
  const QString rtd =
      "Apply the resistance shown below to module's channel-0, SENSE0+, and SENSE0- terminals, "
      "as a 2-wire RTD wiring, then press 'Execute' button.";
  struct Case {
    const char* model;
    int typeCode;
    const char* zero;
    const char* span;
  };
  for (const Case& c :
       {Case{"7226", 0x20, "50 ohms", "200 ohms"}, Case{"7226", 0x27, "50 ohms", "350 ohms"},
        Case{"7226", 0x2A, "0 ohms", "60 ohms"}, Case{"7215", 0x0D, "0 mA", "+20 mA"},
        Case{"7213", 0x13, "0 mV", "+19.5 mV"}, Case{"7231", 0x09, "0 mV", "+5 V"},
        Case{"7234", 0x05, "0 V", "+2.5 V"}}) {
    SCOPED_TRACE(c.typeCode);
    setEntry(0, c.model, 4).TypeCode = c.typeCode;
    open<AdCalibForm>();
    walkTo("OffsetBtn");
    EXPECT_EQ(text("Reading"), c.zero);
    if (std::string(c.model) == "7226") {
      EXPECT_EQ(text("GuideText"), rtd);
    }
    click("BackBtn");
    click("SpanBtn");
    EXPECT_EQ(text("Reading"), c.span);
  }
}

TEST_F(AdCalibTest, ARangeOutsideTheTablesShowsEmptyTexts) {
  start({simModule("7231", 5)});
  context_->ModuleList[0].TypeCode = 0x40;
  open<AdCalibForm>();
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(text("RangeText"), "");
  walkTo("OffsetBtn");
  EXPECT_EQ(text("Reading"), "");
  click("BackBtn");
  click("SpanBtn");
  EXPECT_EQ(text("Reading"), "");
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), Frames{"$050"}) << "Execute still works";
}

TEST_F(AdCalibTest, OffsetThenSpanCalibrateTheModuleAndExecuteRepeats) {
  auto m = steady("7231", 5, 0x08, 5.0);
  m.inputOffsetError = 0.25;
  m.inputGainError = 0.02;
  start({m});
  EXPECT_EQ(reading(), "5.35");
  open<AdCalibForm>();
  walkTo("OffsetBtn");
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), Frames{"$051"});
  EXPECT_EQ(text("StepNo"), "3") << "the step stays for another Execute";
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), Frames{"$051"});
  EXPECT_EQ(reading(), "5.1") << "the offset is gone";
  click("BackBtn");
  click("SpanBtn");
  EXPECT_EQ(sentBy([&] { QTest::keyClick(window_.get(), Qt::Key_Return); }), Frames{"$050"})
      << "Enter is Execute";
  EXPECT_EQ(reading(), "5") << "and the gain error";
  EXPECT_EQ(network_->state(5).calibrations.at("$1"), 2);
  EXPECT_EQ(network_->state(5).calibrations.at("$0"), 1);
  EXPECT_TRUE(ui_->messages.empty()) << "a confirmed point is not reported";
}

TEST_F(AdCalibTest, AChecksumModuleGetsItsFramesWithChecksum) {
  auto m = steady("7215", 2, 0x08, 5.0);
  m.checksum = true;
  m.inputOffsetError = -0.5;
  start({m});
  open<AdCalibForm>();
  walkTo("OffsetBtn");
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), Frames{"$021B7"});
  click("BackBtn");
  click("SpanBtn");
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), Frames{"$020B6"});
  EXPECT_EQ(reading(), "5");
}

TEST_F(AdCalibTest, TheColdJunctionWorkedCase) {
  startWorkedCase();
  EXPECT_EQ(reading(), "300.7") << "the cold junction puts the thermocouple 0.7 high";
  open<AdCalibForm>();
  walkTo("CJCBtn");
  EXPECT_EQ(text("Temperature"), "27.0");
  window_->activateWindow();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), &field("CJCInput"));
  QTest::keyClicks(&field("CJCInput"), "26.3");
  ui_->paused = std::chrono::milliseconds(0);
  const Frames frames = sentBy([&] { QTest::keyClick(&field("CJCInput"), Qt::Key_Return); });
  EXPECT_EQ(frames, (Frames{"$019+0000", "$013", "$019+0055", "$013"}));
  EXPECT_EQ(ui_->paused, 2 * context_->cjcSettlePause) << "after clearing and after setting";
  EXPECT_NEAR(cjcOffset(), 85 * 0.0153, 1e-9);
  EXPECT_EQ(text("Temperature"), "26.3");
  EXPECT_EQ(reading(), "300") << "the thermocouple reads right";
  EXPECT_EQ(field("CJCInput").text(), "26.3");
  EXPECT_TRUE(ui_->messages.empty());
}

TEST_F(AdCalibTest, APointTheModuleDoesNotConfirmIsSaidAfterTheSameExchanges) {
  const QString said = "The module did not confirm %1; it may not have been stored.";
  startWorkedCase();
  open<AdCalibForm>();
  walkTo("OffsetBtn");
  network_->setFault(1, "$AA1", fault(&sim::FaultSpec::silent));
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), Frames{"$011"});
  ASSERT_EQ(ui_->texts(), std::vector<QString>{said.arg("the offset point")});
  EXPECT_EQ(ui_->messages[0].title, "Calibration");
  click("BackBtn");
  click("SpanBtn");
  network_->setFault(1, "$AA0", fault(&sim::FaultSpec::refuseAll));
  click("NextBtn");
  EXPECT_EQ(ui_->texts().back(), said.arg("the span point"));

  click("BackBtn");
  click("CJCBtn");
  network_->setFault(1, "$AA9+0055", fault(&sim::FaultSpec::silent));
  ui_->paused = std::chrono::milliseconds(0);
  EXPECT_EQ(sentBy([&] { execute("26.3"); }), (Frames{"$019+0000", "$013", "$019+0055", "$013"}));
  EXPECT_EQ(ui_->paused, 2 * context_->cjcSettlePause) << "the pauses as ever";
  EXPECT_EQ(text("Temperature"), "25.0") << "read after the offset that did not take";
  EXPECT_EQ(ui_->texts().back(), said.arg("the cold-junction offset"));
  EXPECT_EQ(ui_->messages.size(), 3u);
}

TEST_F(AdCalibTest, ATargetBelowTheReadingGivesAMinus) {
  startWorkedCase();
  open<AdCalibForm>();
  walkTo("CJCBtn");
  EXPECT_EQ(sentBy([&] { execute("24"); }), (Frames{"$019+0000", "$013", "$019-0041", "$013"}))
      << "1 degree below the cleared 25.0: 65 steps";
  EXPECT_NEAR(cjcOffset(), -65 * 0.0153, 1e-9);
  EXPECT_EQ(text("Temperature"), "24.0");
}

TEST_F(AdCalibTest, AnEmptyTargetIsZeroDifference) {
  startWorkedCase();
  open<AdCalibForm>();
  walkTo("CJCBtn");
  EXPECT_EQ(sentBy([&] { execute(""); }), (Frames{"$019+0000", "$013", "$019+0000", "$013"}));
  EXPECT_EQ(field("CJCInput").text(), "0");
  EXPECT_EQ(text("Temperature"), "25.0");
  EXPECT_EQ(cjcOffset(), 0.0);
  EXPECT_EQ(sentBy([&] { execute("-"); }), (Frames{"$019+0000", "$013", "$019+0000", "$013"}))
      << "a sign alone is no number either";
}

TEST_F(AdCalibTest, TheKeyFilterTakesOnlyWhatANumberNeeds) {
  startWorkedCase();
  open<AdCalibForm>();
  walkTo("CJCBtn");
  QTest::keyClicks(&field("CJCInput"), "-2a6.x3");
  EXPECT_EQ(field("CJCInput").text(), "-26.3");
  EXPECT_EQ(ui_->beeps, 2);
}

class AdCalibCommaTest : public AdCalibTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(locale_.active()) << "the test locale de_DE.UTF-8 is missing";
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    context_->DecimalSeparator = localeDecimalSeparator();
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  orvane::test::CommaLocale locale_;
};

TEST_F(AdCalibCommaTest, ATargetWithADecimalCommaGoesOutAsThePointCase) {
  ASSERT_EQ(context_->DecimalSeparator, ',');
  startWorkedCase();
  open<AdCalibForm>();
  walkTo("CJCBtn");
  EXPECT_EQ(text("Temperature"), "27,0");
  QTest::keyClicks(&field("CJCInput"), "26,3");
  EXPECT_EQ(field("CJCInput").text(), "26,3");
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), (Frames{"$019+0000", "$013", "$019+0055", "$013"}));
  EXPECT_EQ(text("Temperature"), "26,3");
  QTest::keyClicks(&field("CJCInput"), ".");
  EXPECT_EQ(field("CJCInput").text(), "26,3") << "the point is not this user's separator";
  EXPECT_EQ(ui_->beeps, 1);
}

TEST_F(AdCalibTest, AFailedReadAfterClearingWritesNoOffset) {
  startWorkedCase();
  open<AdCalibForm>();
  walkTo("CJCBtn");
  network_->setFault(1, "$AA3", {.silent = true});
  EXPECT_EQ(sentBy([&] { execute("26.3"); }), (Frames{"$019+0000", "$013"}));
  EXPECT_EQ(text("Temperature"), "*error*");
  EXPECT_EQ(cjcOffset(), 0.0) << "the offset stays cleared";

  network_->setFault(1, "$AA3", {.reply = std::string("?01\r")});
  EXPECT_EQ(sentBy([&] { execute("26.3"); }), (Frames{"$019+0000", "$013"}));
  EXPECT_EQ(text("Temperature"), "*error*") << "not 1.0";
  EXPECT_EQ(cjcOffset(), 0.0);
  EXPECT_TRUE(ui_->messages.empty());
}

TEST_F(AdCalibTest, EveryFailedTemperatureReadShowsError) {
  startWorkedCase();
  network_->setFault(1, "$AA3", {.reply = std::string(">\r")});
  open<AdCalibForm>();
  walkTo("CJCBtn");
  EXPECT_EQ(text("Temperature"), "*error*") << "not .0";
  network_->clearFaults();
  click("BackBtn");
  click("CJCBtn");
  EXPECT_EQ(text("Temperature"), "27.0");

  // The read after the new offset fails: the offset is written, the
  // temperature is not known.
  int pauses = 0;
  ui_->onPause = [&] {
    if (++pauses == 2) network_->setFault(1, "$AA3", {.silent = true});
  };
  EXPECT_EQ(sentBy([&] { execute("26.3"); }), (Frames{"$019+0000", "$013", "$019+0055", "$013"}));
  EXPECT_EQ(text("Temperature"), "*error*");
  EXPECT_NEAR(cjcOffset(), 85 * 0.0153, 1e-9);
}

TEST_F(AdCalibTest, ATargetOutOfReachIsRefusedAndNothingWritten) {
  startWorkedCase();
  open<AdCalibForm>();
  walkTo("CJCBtn");
  EXPECT_EQ(sentBy([&] { execute("1100"); }), (Frames{"$019+0000", "$013"}));
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_EQ(ui_->messages[0].text, "The target temperature is out of range.");
  EXPECT_EQ(ui_->messages[0].title, "Calibration");
  EXPECT_EQ(text("Temperature"), "25.0") << "the module as it is now, offset cleared";
  EXPECT_EQ(cjcOffset(), 0.0);

  EXPECT_EQ(sentBy([&] { execute("-990"); }), (Frames{"$019+0000", "$013"}));
  EXPECT_EQ(ui_->messages.size(), 2u);

  // 1002.6 degrees above still fit four digits.
  EXPECT_EQ(sentBy([&] { execute("1027.6"); }), (Frames{"$019+0000", "$013", "$019+FFF9", "$013"}));
  EXPECT_EQ(text("Temperature"), "1027.6");
  EXPECT_EQ(ui_->messages.size(), 2u);
}

TEST_F(AdCalibTest, TheInitializationEntryIsCalibratedAt00And9600WithoutChecksum) {
  auto m = steady("7213", 5, 0x0E, 100.0);
  m.baudCode = 4;
  m.checksum = true;
  m.initState = true;
  m.inputOffsetError = 1.0;
  start({m});
  context_->InitModuleIndex = 0;
  open<AdCalibForm>();
  EXPECT_EQ(text("Addr"), "5 (05H)") << "the stored address";
  walkTo("OffsetBtn");
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), Frames{"$001"});
  for (const auto& frame : settledFrames()) EXPECT_EQ(frame.baudRate, 9600);
  EXPECT_EQ(network_->state(5).inputOffsetError, 0.0);
  click("BackBtn");
  click("CJCBtn");
  EXPECT_EQ(sentBy([&] { execute("25"); }), (Frames{"$009+0000", "$003", "$009+0000", "$003"}));
}

TEST_F(AdCalibTest, ASerialFailureLeavesTheWindowAndShowsOnItsLine) {
  startOnLink(workedCase());
  open<AdCalibForm>();
  walkTo("CJCBtn");
  network_->unplug();
  EXPECT_NO_THROW(execute("26.3"));
  EXPECT_TRUE(text("LinkStatus").contains(" is disconnected; plug the adapter back in"))
      << "the write that found the adapter gone: " << text("LinkStatus").toStdString();
  EXPECT_EQ(text("Temperature"), "*error*");
  EXPECT_TRUE(window_->isVisible());

  network_->replug();
  context_->OrvComm.open(1);
  EXPECT_EQ(sentBy([&] { execute("26.3"); }), (Frames{"$019+0000", "$013", "$019+0055", "$013"}));
  EXPECT_EQ(text("LinkStatus"), "");
  EXPECT_EQ(text("Temperature"), "26.3");
}

TEST_F(AdCalibTest, EscapeAndTheCloseButtonExitWithoutSending) {
  startWorkedCase();
  open<AdCalibForm>();
  walkTo("OffsetBtn");
  EXPECT_TRUE(sentBy([&] { QTest::keyClick(window_.get(), Qt::Key_Escape); }).empty());
  EXPECT_TRUE(closed());

  open<AdCalibForm>();
  walkTo("SpanBtn");
  EXPECT_TRUE(sentBy([&] { window_->close(); }).empty());
  EXPECT_TRUE(closed());

  open<AdCalibForm>();
  EXPECT_TRUE(sentBy([&] { click("ExitBtn"); }).empty());
  EXPECT_TRUE(closed());
}

}  // namespace
}  // namespace orvane::admin
