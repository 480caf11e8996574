// The analog output calibration window against the simulator: the switch
// to 0 to 20 mA, the walk through the two points with the trims, what the
// module stores or does not confirm, and the one restore of its
// configuration however the window is left, retried while the module does
// not confirm it.
#include "admin/calib/da_calib_form.h"

#include <QTest>
#include <algorithm>

#include "sim/module_state.h"
#include "tests/admin/calib/calib_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;

constexpr double kStep = 20.0 / 4096;  // mA: one trim step of the simulated 7342

const QString kStep4 =
    "Check the actual output value at the module's terminals. If it does not equal 4mA, use the "
    "'Trim Up' or 'Trim Down' button to change the actual output. Trim the module until the "
    "milliammeter indicates exactly 4mA or the voltage meter indicates exactly 1V.";

class DaCalibTest : public CalibFixture {
 protected:
  // A 7342 at 3 in 0 to 10 V that drives 4 mA two steps high and 20 mA
  // three steps low.
  static sim::ModuleState outOfTrim(bool checksum = false) {
    auto m = simModule("7342", 3, 3, checksum);
    m.typeCode = 0x32;
    m.outputs[0] = 6.0;
    m.outputGainError = -5 * kStep / 16;
    m.outputOffsetError = 3.25 * kStep;
    return m;
  }
  // What a meter shows with the module's stored corrections for an output
  // written in a range.
  double meter(int typeCode, double value) const {
    sim::ModuleState m = network_->state(3);
    m.typeCode = typeCode;
    m.outputs[0] = value;
    m.outputTrim[0] = 0;
    return sim::outputAtTerminals(m);
  }
  double atTerminals() const { return sim::outputAtTerminals(network_->state(3)); }
  void clicks(const char* name, int times) {
    for (int i = 0; i < times; ++i) click(name);
  }
  // Next from step 1 to step 4.
  void toStep4() { clicks("NextBtn", 3); }
  static long count(const Frames& frames, const std::string& frame) {
    return std::count(frames.begin(), frames.end(), frame);
  }
};

TEST_F(DaCalibTest, OpeningSavesTheConfigurationAndSwitchesTo0To20mA) {
  start({outOfTrim()});
  open<DaCalibForm>();
  EXPECT_EQ(sent(), (Frames{"$032", "%0303300600"}));
  EXPECT_EQ(network_->state(3).typeCode, 0x30);
  EXPECT_TRUE(ui_->messages.empty());
  EXPECT_EQ(window_->objectName(), "DaCalibForm");
  EXPECT_EQ(window_->windowTitle(), "Analog Output Calibration");
  EXPECT_EQ(text("ModuleName"), "7342");
  EXPECT_EQ(text("Addr"), "3 (03H)");
  EXPECT_EQ(text("Label1"), "Module:");
  EXPECT_EQ(text("Label2"), "Address:");
  EXPECT_EQ(text("Label3"), "Step");
  EXPECT_EQ(text("StepNo"), "1");
  EXPECT_EQ(text("GuideText"),
            "Apply power to the analog output module and let it warm up for about 30 minutes.");
  EXPECT_FALSE(button("BackBtn").isEnabled());
  EXPECT_EQ(button("NextBtn").text(), "Next >");
  EXPECT_TRUE(button("NextBtn").isDefault());
  EXPECT_FALSE(visible("TrimUpBtn"));
  EXPECT_FALSE(visible("TrimDownBtn"));
  EXPECT_EQ(button("TrimUpBtn").text(), "Trim Up");
  EXPECT_EQ(button("TrimDownBtn").text(), "Trim Down");
}

TEST_F(DaCalibTest, TheWholeWalkStoresBothPointsAndRestoresTheRange) {
  start({outOfTrim()});
  open<DaCalibForm>();
  click("NextBtn");
  EXPECT_EQ(text("StepNo"), "2");
  EXPECT_TRUE(button("BackBtn").isEnabled());
  EXPECT_FALSE(visible("TrimUpBtn"));
  EXPECT_TRUE(sentBy([&] { click("NextBtn"); }).empty());
  EXPECT_EQ(text("StepNo"), "3");
  EXPECT_FALSE(visible("TrimUpBtn"));

  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), Frames{"#0304.000"});
  EXPECT_EQ(text("StepNo"), "4");
  EXPECT_EQ(text("GuideText"), kStep4);
  EXPECT_TRUE(visible("TrimUpBtn"));
  EXPECT_TRUE(visible("TrimDownBtn"));
  EXPECT_NEAR(atTerminals(), 4 + 2 * kStep, 0.0001) << "the meter shows 4.0098 mA";
  EXPECT_EQ(sentBy([&] { click("TrimUpBtn"); }), Frames{"$03301"});
  EXPECT_EQ(sentBy([&] { clicks("TrimDownBtn", 3); }), (Frames{"$033FF", "$033FF", "$033FF"}));
  EXPECT_NEAR(atTerminals(), 4.0, kStep / 2);

  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), (Frames{"$030", "#0320.000"}));
  EXPECT_EQ(text("StepNo"), "5");
  EXPECT_EQ(button("NextBtn").text(), "Done");
  EXPECT_NEAR(atTerminals(), 20 - 3 * kStep, 0.0001);
  clicks("TrimUpBtn", 3);
  EXPECT_NEAR(atTerminals(), 20.0, kStep / 2);

  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), (Frames{"$031", "%0303320600"}));
  EXPECT_TRUE(closed());
  EXPECT_EQ(window_->result(), QDialog::Accepted);
  const auto module = network_->state(3);
  EXPECT_EQ(module.typeCode, 0x32) << "back in 0 to 10 V";
  EXPECT_NEAR(module.outputCorrection4, -2 * kStep, 1e-12);
  EXPECT_NEAR(module.outputCorrection20, 3 * kStep, 1e-12);
  EXPECT_NEAR(meter(0x30, 4.0), 4.0, kStep / 2);
  EXPECT_NEAR(meter(0x30, 12.0), 12.0, kStep / 2);
  EXPECT_NEAR(meter(0x32, 5.0), 5.0, kStep / 4) << "the user's own range is right too";
  EXPECT_TRUE(ui_->messages.empty());
}

TEST_F(DaCalibTest, AChecksumModuleKeepsItsChecksumThroughTheSwitch) {
  start({outOfTrim(true)});
  open<DaCalibForm>();
  EXPECT_EQ(sent(), (Frames{withChecksum("$032"), withChecksum("%0303300640")}));
  EXPECT_TRUE(ui_->messages.empty()) << "the module switched";
  toStep4();
  clicks("TrimDownBtn", 2);
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }),
            (Frames{withChecksum("$030"), withChecksum("#0320.000")}));
  clicks("TrimUpBtn", 3);
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }),
            (Frames{withChecksum("$031"), withChecksum("%0303320640")}));
  const auto module = network_->state(3);
  EXPECT_TRUE(module.checksum);
  EXPECT_EQ(module.typeCode, 0x32);
  EXPECT_NEAR(meter(0x30, 4.0), 4.0, kStep / 2) << "the points went into 0 to 20 mA";
  EXPECT_NEAR(meter(0x30, 20.0), 20.0, kStep / 2);
}

TEST_F(DaCalibTest, EveryWayOutRestoresExactlyOnce) {
  start({outOfTrim()});
  const std::string restore = "%0303320600";

  open<DaCalibForm>();
  click("NextBtn");
  EXPECT_EQ(sentBy([&] { click("ExitBtn"); }), Frames{restore}) << "Exit at step 2";
  EXPECT_TRUE(closed());
  EXPECT_EQ(network_->state(3).typeCode, 0x32);

  open<DaCalibForm>();
  toStep4();
  EXPECT_EQ(sentBy([&] { QTest::keyClick(window_.get(), Qt::Key_Escape); }), Frames{restore})
      << "Escape at step 4";
  EXPECT_TRUE(closed());

  open<DaCalibForm>();
  EXPECT_EQ(sentBy([&] { window_->close(); }), Frames{restore}) << "the close button at step 1";
  EXPECT_TRUE(closed());

  open<DaCalibForm>();
  toStep4();
  click("NextBtn");
  const Frames done = sentBy([&] { click("NextBtn"); });
  EXPECT_EQ(count(done, restore), 1) << "Done";
  EXPECT_TRUE(sentBy([&] {
                window_->reject();
                window_->close();
              }).empty())
      << "nothing more once the window is left";
  EXPECT_EQ(network_->state(3).typeCode, 0x32);
}

TEST_F(DaCalibTest, TheSwitchAndTheRestoreWaitWithTheLongTimeOut) {
  start({outOfTrim()});
  useUnequalTimeouts(*context_);
  network_->setFault(3, "%AA*", lateReply());
  ui_->answers = {QMessageBox::Close};  // a restore read too early is not retried for ever
  open<DaCalibForm>();
  EXPECT_TRUE(ui_->messages.empty()) << "the switch was confirmed";
  EXPECT_EQ(network_->state(3).typeCode, 0x30);
  click("ExitBtn");
  EXPECT_EQ(sent(), (Frames{"$032", "%0303300600", "%0303320600"}));
  EXPECT_TRUE(ui_->messages.empty()) << "the restore was confirmed";
  EXPECT_EQ(network_->state(3).typeCode, 0x32);
}

TEST_F(DaCalibTest, AnUnconfirmedRestoreKeepsTheWindowUntilRetryOrClose) {
  const QString held =
      "The module's configuration could not be restored; it %1 in the 0 to 20 mA range. It was in "
      "the 0 to 10 V range when this window opened.";
  const Frames restore{"%0303320600"};
  start({outOfTrim()});
  ui_->onMessage = [&] {
    if (ui_->messages.back().buttons.testFlag(QMessageBox::Retry)) network_->clearFaults();
  };

  open<DaCalibForm>();
  network_->setFault(3, "%AA*", fault(&sim::FaultSpec::refuseAll));
  ui_->answers = {QMessageBox::Retry};
  EXPECT_EQ(sentBy([&] { click("ExitBtn"); }), (Frames{restore[0], restore[0]}));
  EXPECT_TRUE(closed());
  ASSERT_EQ(ui_->texts(), std::vector<QString>{held.arg("is still")});
  EXPECT_EQ(ui_->messages[0].title, "Calibration");
  EXPECT_EQ(ui_->messages[0].buttons, QMessageBox::Retry | QMessageBox::Close);
  EXPECT_EQ(network_->state(3).typeCode, 0x32) << "restored by the retry";

  open<DaCalibForm>();
  network_->setFault(3, "%AA*", fault(&sim::FaultSpec::silent));
  ui_->answers = {QMessageBox::Close};
  EXPECT_EQ(sentBy([&] { click("ExitBtn"); }), restore);
  EXPECT_TRUE(closed());
  EXPECT_EQ(network_->state(3).typeCode, 0x30) << "Close leaves it as it is";
  EXPECT_TRUE(sentBy([&] { window_->close(); }).empty());
  EXPECT_EQ(ui_->texts(), std::vector<QString>{held.arg("is still")}) << "said once";

  network_->modify(3, [](sim::ModuleState& m) { m.typeCode = 0x32; });
  network_->setFault(3, "%AA*", fault(&sim::FaultSpec::silent));
  ui_->answers = {QMessageBox::Ok, QMessageBox::Close};
  open<DaCalibForm>();
  click("ExitBtn");
  EXPECT_EQ(ui_->texts().back(), held.arg("may still be")) << "the switch went unanswered too";
}

TEST_F(DaCalibTest, WithoutASavedConfigurationNothingIsRestored) {
  start({outOfTrim()});
  network_->setFault(3, "$AA2", {.silent = true});
  open<DaCalibForm>();
  EXPECT_EQ(sent(), Frames{"$032"}) << "no switch without the configuration";
  EXPECT_TRUE(sentBy([&] { click("ExitBtn"); }).empty()) << "never a bare %AANN";
  EXPECT_EQ(network_->state(3).typeCode, 0x32);
}

TEST_F(DaCalibTest, ASilentModuleIsToldOnceAndNothingIsStored) {
  start({outOfTrim()});
  network_->setFault(3, {.silent = true});
  open<DaCalibForm>();
  EXPECT_EQ(sent(), Frames{"$032"});
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_EQ(ui_->messages[0].text,
            "The module did not switch to its calibration range; nothing will be stored.");
  EXPECT_EQ(ui_->messages[0].title, "Calibration");
  EXPECT_EQ(sentBy([&] { toStep4(); }), Frames{"#0304.000"});
  EXPECT_EQ(sentBy([&] { click("TrimUpBtn"); }), Frames{"$03301"}) << "the trims still work";
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), Frames{"#0320.000"}) << "no $030";
  EXPECT_EQ(text("StepNo"), "5");
  EXPECT_TRUE(sentBy([&] { click("NextBtn"); }).empty()) << "no $031 and no restore";
  EXPECT_TRUE(closed());
  EXPECT_EQ(ui_->messages.size(), 1u);
}

TEST_F(DaCalibTest, ARefusedSwitchStoresNothingButRestores) {
  auto quad = simModule("7347", 4);  // +/- 10V only: it refuses 0 to 20 mA
  start({quad});
  ui_->answers = {QMessageBox::Ok, QMessageBox::Close};  // a restore is never retried for ever
  open<DaCalibForm>();
  EXPECT_EQ(sent(), (Frames{"$042", "%0404300600"}));
  EXPECT_EQ(ui_->texts(),
            std::vector<QString>{"The module did not switch to its calibration range; nothing will "
                                 "be stored."});
  toStep4();
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), Frames{"#0420.000"});
  network_->setFault(4, "%AA*", fault(&sim::FaultSpec::silent));
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), Frames{"%0404330600"});
  EXPECT_FALSE(network_->state(4).calibrations.contains("$0"));
  EXPECT_FALSE(network_->state(4).calibrations.contains("$1"));
  EXPECT_EQ(network_->state(4).typeCode, 0x33);
  EXPECT_EQ(ui_->messages.size(), 1u) << "an unanswered restore of a module that never left";
}

TEST_F(DaCalibTest, APointTheModuleDoesNotConfirmIsSaidAndTheWalkGoesOn) {
  const QString said = "The module did not confirm %1; it may not have been stored.";
  start({outOfTrim()});
  open<DaCalibForm>();
  toStep4();
  network_->setFault(3, "$AA0", fault(&sim::FaultSpec::silent));
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), (Frames{"$030", "#0320.000"}))
      << "the same exchanges as ever";
  ASSERT_EQ(ui_->texts(), std::vector<QString>{said.arg("the 4 mA point")});
  EXPECT_EQ(ui_->messages[0].title, "Calibration");
  network_->setFault(3, "$AA1", fault(&sim::FaultSpec::refuseAll));
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), (Frames{"$031", "%0303320600"}));
  EXPECT_EQ(ui_->texts().back(), said.arg("the 20 mA point"));
  EXPECT_TRUE(closed());
}

TEST_F(DaCalibTest, BackFromStep5DrivesThe4mAPointAgain) {
  start({outOfTrim()});
  open<DaCalibForm>();
  toStep4();
  clicks("TrimDownBtn", 2);
  click("NextBtn");
  click("TrimUpBtn");
  EXPECT_EQ(sentBy([&] { click("BackBtn"); }), Frames{"#0304.000"});
  EXPECT_EQ(text("StepNo"), "4");
  EXPECT_EQ(text("GuideText"), kStep4);
  EXPECT_EQ(button("NextBtn").text(), "Done") << "the caption is not set back";
  EXPECT_TRUE(visible("TrimUpBtn"));
  EXPECT_NEAR(atTerminals(), 4.0, kStep / 2) << "the stored 4 mA point, no trim of step 5";
  EXPECT_EQ(sentBy([&] { click("NextBtn"); }), (Frames{"$030", "#0320.000"}))
      << "stores the 4 mA point again";
  EXPECT_NEAR(network_->state(3).outputCorrection4, -2 * kStep, 1e-12);

  click("BackBtn");
  EXPECT_TRUE(sentBy([&] { click("BackBtn"); }).empty()) << "step 3 drives nothing";
  EXPECT_FALSE(visible("TrimUpBtn"));
  EXPECT_FALSE(visible("TrimDownBtn"));
  click("BackBtn");
  click("BackBtn");
  EXPECT_EQ(text("StepNo"), "1");
  EXPECT_FALSE(button("BackBtn").isEnabled());
}

TEST_F(DaCalibTest, EveryStepsGuideFitsInTheWindow) {
  start({outOfTrim()});
  open<DaCalibForm>();
  auto& guide = control<QLabel>(QStringLiteral("GuideText"));
  for (int step = 1; step <= 5; ++step) {
    QApplication::processEvents();
    EXPECT_EQ(text("StepNo"), QString::number(step));
    EXPECT_GE(guide.height(), guide.heightForWidth(guide.width()))
        << "the guide of step " << step << " is cut off";
    if (step < 5) click("NextBtn");
  }
}

TEST_F(DaCalibTest, EnterIsNext) {
  start({outOfTrim()});
  open<DaCalibForm>();
  EXPECT_EQ(sentBy([&] {
              for (int i = 0; i < 3; ++i) QTest::keyClick(window_.get(), Qt::Key_Return);
            }),
            Frames{"#0304.000"});
  EXPECT_EQ(text("StepNo"), "4");
}

TEST_F(DaCalibTest, TheInitializationEntryIsCalibratedAt00And9600WithoutChecksum) {
  auto m = simModule("7342", 10, 4, true);
  m.typeCode = 0x31;
  m.initState = true;
  start({m});
  context_->InitModuleIndex = 0;
  open<DaCalibForm>();
  EXPECT_EQ(sent(), (Frames{"$002", "%000A300740"})) << "NN is the stored address";
  EXPECT_TRUE(ui_->messages.empty());
  toStep4();
  click("NextBtn");
  network_->clearFrames();
  click("NextBtn");
  const auto frames = settledFrames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].raw, "$001\r");
  EXPECT_EQ(frames[1].raw, "%000A310740\r");
  for (const auto& frame : frames) EXPECT_EQ(frame.baudRate, 9600);
  EXPECT_EQ(network_->state(10).typeCode, 0x31);
}

TEST_F(DaCalibTest, ASerialFailureLeavesTheWindowAndItStillCloses) {
  startOnLink(outOfTrim());
  open<DaCalibForm>();
  toStep4();
  network_->unplug();
  EXPECT_NO_THROW(click("TrimUpBtn"));
  EXPECT_TRUE(text("LinkStatus").contains(" is disconnected; plug the adapter back in"))
      << text("LinkStatus").toStdString();
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(ui_->messages.empty()) << "a trim is not checked";
  ui_->answers = {QMessageBox::Close};
  EXPECT_NO_THROW(click("ExitBtn"));
  EXPECT_TRUE(closed());
  ASSERT_EQ(ui_->messages.size(), 1u) << "the module was left in 0 to 20 mA";
  EXPECT_TRUE(ui_->messages[0].text.contains("could not be restored"));
}

}  // namespace
}  // namespace orvane::admin
