// The 7342 test window against the simulator: the output it sets when it
// opens, and the command of every settled bar position in each data format.
#include "admin/diag/da_diag_form.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "admin/diag/da_diag_commands.h"
#include "comma_locale.h"
#include "tests/admin/diag/diag_fixture.h"
#include "tests/admin/diag/scroll_bar_user.h"

namespace orvane::admin {
namespace {

using namespace testing;
using Frames = std::vector<std::string>;

class DaDiagTest : public DiagFixture {
 protected:
  // A 7342 at 7 whose output stands somewhere in the middle of its range.
  ModuleEntry& startModule(int typeCode, int format) {
    auto m = simModule("7342", 7);
    m.typeCode = typeCode;
    m.format = format;
    m.firmware = "C1.2";
    m.outputs[0] = typeCode == 0x32 ? 6.0 : 13.0;
    return start({m});
  }
  // The same module set to another range and data format, as the
  // configuration dialog would leave it.
  void reconfigure(int typeCode, int format) {
    network_->modify(7, [&](sim::ModuleState& m) {
      m.typeCode = typeCode;
      m.format = format;
      m.outputs[0] = 13.0;
    });
    context_->ModuleList[0].TypeCode = typeCode;
    context_->ModuleList[0].DataFormat = format;
  }
  QScrollBar& bar() const { return control<QScrollBar>(QStringLiteral("DaScroll")); }
  double output() const { return network_->state(7).outputs[0]; }
  // Frames sent by what `act` does.
  Frames sentBy(const std::function<void()>& act) {
    network_->clearFrames();
    act();
    return sent();
  }
};

TEST_F(DaDiagTest, OpeningReadsTheFirmwareAndPutsTheOutputAtTheLowEnd) {
  startModule(0x31, 0);
  open<DaDiagForm>();
  EXPECT_EQ(sent(), (Frames{"$07F", "#0704.000"}));
  EXPECT_DOUBLE_EQ(output(), 4.0) << "it stood at 13 mA before";
  EXPECT_EQ(window_->windowTitle(), "D/A Module Diagnostic");
  EXPECT_EQ(text("ModuleName"), "7342");
  EXPECT_EQ(text("Addr"), "7 (07H)");
  EXPECT_EQ(text("Rev"), "C1.2");
  EXPECT_EQ(text("LowRange"), "4");
  EXPECT_EQ(text("HighRange"), "20");
  EXPECT_EQ(text("DataFormat(0)"), "mA");
  EXPECT_EQ(text("DataFormat(1)"), "mA");
  EXPECT_EQ(text("DA_data"), "4.000");
  EXPECT_EQ(text("Label3"), "D/A data:");
  EXPECT_EQ(bar().value(), 0);
  EXPECT_EQ(bar().maximum(), 32000);
  EXPECT_EQ(bar().singleStep(), 320);
  EXPECT_EQ(bar().pageStep(), 3200);
}

TEST_F(DaDiagTest, OpeningSetsTheLowEndInEveryDataFormat) {
  startModule(0x32, 0);
  open<DaDiagForm>();
  EXPECT_EQ(sent(), (Frames{"$07F", "#0700.000"}));
  EXPECT_EQ(text("LowRange"), "0");
  EXPECT_EQ(text("HighRange"), "10");
  EXPECT_EQ(text("DataFormat(0)"), "V");
  EXPECT_DOUBLE_EQ(output(), 0.0);

  reconfigure(0x31, 1);
  open<DaDiagForm>();
  EXPECT_EQ(sent(), (Frames{"$07F", "#07+000.00"}));
  EXPECT_DOUBLE_EQ(output(), 4.0);
  EXPECT_EQ(text("DA_data"), "4.000") << "the value is shown in engineering units";

  reconfigure(0x30, 2);
  open<DaDiagForm>();
  EXPECT_EQ(sent(), (Frames{"$07F", "#07000"}));
  EXPECT_DOUBLE_EQ(output(), 0.0);
}

TEST_F(DaDiagTest, SettledPositionsDriveA4To20mAOutputInEngineeringUnits) {
  startModule(0x31, 0);
  open<DaDiagForm>();
  EXPECT_EQ(sentBy([&] { bar().setValue(16000); }), Frames{"#0712.000"});
  EXPECT_EQ(text("DA_data"), "12.000");
  EXPECT_DOUBLE_EQ(output(), 12.0);
  EXPECT_EQ(sentBy([&] { bar().setValue(32000); }), Frames{"#0720.000"});
  EXPECT_EQ(text("DA_data"), "20.000");
  EXPECT_DOUBLE_EQ(output(), 20.0);
  EXPECT_EQ(sentBy([&] { bar().setValue(0); }), Frames{"#0704.000"});
  EXPECT_EQ(text("DA_data"), "4.000");
}

TEST_F(DaDiagTest, PercentAndHexadecimalFormatsSendTheirOwnTexts) {
  startModule(0x30, 1);
  open<DaDiagForm>();
  EXPECT_EQ(sentBy([&] { bar().setValue(32000); }), Frames{"#07+100.00"});
  EXPECT_DOUBLE_EQ(output(), 20.0);
  EXPECT_EQ(sentBy([&] { bar().setValue(8000); }), Frames{"#07+025.00"});
  EXPECT_EQ(text("DA_data"), "5.000");
  EXPECT_DOUBLE_EQ(output(), 5.0);

  reconfigure(0x30, 2);
  open<DaDiagForm>();
  EXPECT_EQ(sentBy([&] { bar().setValue(32000); }), Frames{"#07FFF"});
  EXPECT_DOUBLE_EQ(output(), 20.0);
  EXPECT_EQ(sentBy([&] { bar().setValue(16000); }), Frames{"#07800"});
  EXPECT_EQ(sentBy([&] { bar().setValue(0); }), Frames{"#07000"});
  EXPECT_DOUBLE_EQ(output(), 0.0);
}

TEST_F(DaDiagTest, DraggingTheThumbShowsTheValueAndSendsOnlyWhereItIsReleased) {
  startModule(0x30, 0);
  open<DaDiagForm>();
  window_->resize(500, window_->height());
  network_->clearFrames();
  QStringList shown;
  dragThumb(bar(), {30, 60, 90}, [&] {
    shown << text("DA_data");
    EXPECT_TRUE(sent().empty()) << "nothing is written while the thumb is held";
  });
  ASSERT_GT(bar().value(), 0);
  EXPECT_EQ(shown.size(), 3);
  EXPECT_NE(shown.front(), shown.back()) << "the value follows the thumb";
  EXPECT_EQ(shown.back(), text("DA_data"));
  const Frames frames = sent();
  ASSERT_EQ(frames.size(), 1U) << "one write on release";
  EXPECT_EQ(frames.front(), "#07" + daOutputBody(0x30, 0, bar().value()));
  EXPECT_NEAR(output(), bar().value() * 20.0 / 32000, 0.001);
}

TEST_F(DaDiagTest, ArrowsTrackKeysAndWheelEachWriteOnce) {
  startModule(0x30, 0);
  open<DaDiagForm>();
  window_->resize(500, window_->height());
  bar().setValue(16000);
  EXPECT_EQ(sentBy([&] { clickPart(bar(), QStyle::SC_ScrollBarAddLine); }), Frames{"#0710.200"});
  EXPECT_EQ(sentBy([&] { clickPart(bar(), QStyle::SC_ScrollBarSubLine); }), Frames{"#0710.000"});
  EXPECT_EQ(sentBy([&] { clickPart(bar(), QStyle::SC_ScrollBarAddPage); }), Frames{"#0712.000"});
  EXPECT_EQ(sentBy([&] { QTest::keyClick(&bar(), Qt::Key_Left); }), Frames{"#0711.800"});
  EXPECT_EQ(sentBy([&] { QTest::keyClick(&bar(), Qt::Key_Home); }), Frames{"#0700.000"});
  EXPECT_EQ(text("DA_data"), "0.000");
  EXPECT_EQ(sentBy([&] { QTest::keyClick(&bar(), Qt::Key_Right); }), Frames{"#0700.200"});
  bar().setValue(16000);
  const Frames up = sentBy([&] { wheelNotch(bar(), 120); });
  ASSERT_GT(bar().value(), 16000) << "the wheel turned up raises the output";
  EXPECT_EQ(up, Frames{"#07" + daOutputBody(0x30, 0, bar().value())});
  const Frames down = sentBy([&] { wheelNotch(bar(), -120); });
  EXPECT_EQ(bar().value(), 16000);
  EXPECT_EQ(down, Frames{"#0710.000"});
}

TEST_F(DaDiagTest, ASilentOrRefusingModuleCostsOneWriteAndTheWindowGoesOn) {
  startModule(0x30, 0);
  open<DaDiagForm>();
  network_->setFault(7, "#AA*", sim::FaultSpec{.silent = true});
  EXPECT_EQ(sentBy([&] { bar().setValue(3200); }), Frames{"#0702.000"}) << "no retry";
  EXPECT_EQ(text("DA_data"), "2.000");
  network_->setFault(7, "#AA*", sim::FaultSpec{.reply = "?07\r"});
  EXPECT_EQ(sentBy([&] { bar().setValue(6400); }), Frames{"#0704.000"});
  EXPECT_EQ(text("DA_data"), "4.000");
  EXPECT_TRUE(text("LinkStatus").isEmpty()) << "a module's silence is no line failure";
  EXPECT_TRUE(ui_->messages.empty());
  network_->clearFaults();
  bar().setValue(9600);
  EXPECT_DOUBLE_EQ(output(), 6.0);
}

TEST_F(DaDiagTest, TheInitializationEntryIsDrivenAtAddress00) {
  startModule(0x31, 0);
  network_->setInitState(7, true);
  context_->InitModuleIndex = 0;
  open<DaDiagForm>();
  EXPECT_EQ(sent(), (Frames{"$00F", "#0004.000"}));
  EXPECT_EQ(text("Addr"), "7 (07H)") << "the caption keeps the stored address";
  EXPECT_EQ(sentBy([&] { bar().setValue(32000); }), Frames{"#0020.000"});
  EXPECT_DOUBLE_EQ(output(), 20.0);
}

TEST_F(DaDiagTest, NothingPollsAndExitSendsNothingAndLeavesTheOutput) {
  startModule(0x30, 0);
  auto form = std::make_unique<DaDiagForm>(*context_);
  form->show();
  EXPECT_FALSE(form->polling()) << "a window of one output has nothing to poll";
  form->findChild<QScrollBar*>(QStringLiteral("DaScroll"))->setValue(16000);
  network_->clearFrames();
  QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("ExitBtn")), Qt::LeftButton);
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(sent().empty());
  EXPECT_DOUBLE_EQ(output(), 10.0) << "the output stays where the bar settled";
}

TEST_F(DaDiagTest, APulledAdapterShowsTheLineErrorOnTheWindowsLine) {
  auto m = simModule("7342", 7);
  startNetworkOnLink({m});
  openPort();
  setEntry(0, "7342", 7).TypeCode = 0x30;
  context_->SelectedIndex = 0;
  open<DaDiagForm>();
  network_->unplug();
  QTest::keyClick(&bar(), Qt::Key_Right);
  EXPECT_EQ(text("LinkStatus").toStdString(), disconnectedText());
  EXPECT_EQ(text("DA_data"), "0.200");
  EXPECT_TRUE(ui_->messages.empty()) << "no message box";

  network_->replug();
  QTest::keyClick(&bar(), Qt::Key_Right);
  EXPECT_EQ(text("LinkStatus"), "");
  EXPECT_DOUBLE_EQ(output(), 0.4);
}

TEST_F(DaDiagTest, CommandsKeepThePointUnderADecimalCommaLocale) {
  orvane::test::CommaLocale locale;
  ASSERT_TRUE(locale.active()) << "the test locale de_DE.UTF-8 is missing";
  startModule(0x30, 0);
  context_->DecimalSeparator = ',';
  open<DaDiagForm>();
  EXPECT_EQ(text("DA_data"), "0,000");
  EXPECT_EQ(sentBy([&] { bar().setValue(20000); }), Frames{"#0712.500"});
  EXPECT_EQ(text("DA_data"), "12,500");
  EXPECT_DOUBLE_EQ(output(), 12.5);
}

}  // namespace
}  // namespace orvane::admin
