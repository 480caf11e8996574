// The digital I/O test window against the simulator: what a load, a tick and
// a click send, and what the lamps show for good, refused, garbled and
// missing replies.
#include "admin/diag/dio_diag_form.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include "admin/core/ui_naming.h"
#include "admin/diag/lamp.h"
#include "tests/admin/diag/diag_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;
using Frames = std::vector<std::string>;

// A module whose inputs hold still.
sim::ModuleState steady(const std::string& model, int address, std::uint32_t inputs = 0,
                        bool checksum = false) {
  auto m = simModule(model, address, 3, checksum);
  m.digitalInputs = inputs;
  m.inputToggleMask = 0;
  m.firmware = "D1.4";
  return m;
}

class DioDiagTest : public DiagFixture {
 protected:
  ModuleEntry& startModule(const std::string& model, int address, std::uint32_t inputs = 0,
                           bool checksum = false) {
    return start({steady(model, address, inputs, checksum)});
  }
  // Opens the window for another module of the network.
  void openFor(const std::string& model, int address) {
    setEntry(0, model, address);
    open<DioDiagForm>();
  }
  Lamp& lamp(const char* array, int n) const {
    return control<Lamp>(indexedName(QString::fromLatin1(array), n));
  }
  // Bit n set when lamp n of the array is lit.
  unsigned litBits(const char* array) const {
    unsigned bits = 0;
    for (int n = 0; n < 16; ++n) bits |= lamp(array, n).lit() ? 1u << n : 0u;
    return bits;
  }
  // How many lamps of the array, and of their number labels, the user sees.
  int shown(const char* lampArray, const char* labelArray) const {
    int lamps = 0;
    for (int n = 0; n < 16; ++n) {
      const bool visible = lamp(lampArray, n).isVisibleTo(window_.get());
      EXPECT_EQ(visible, control<QLabel>(indexedName(QString::fromLatin1(labelArray), n))
                             .isVisibleTo(window_.get()))
          << lampArray << n;
      lamps += visible ? 1 : 0;
    }
    return lamps;
  }
  bool frameShown(const char* name) const {
    return control<QGroupBox>(QString::fromLatin1(name)).isVisibleTo(window_.get());
  }
  Frames click(const char* array, int n) {
    network_->clearFrames();
    QTest::mouseClick(&lamp(array, n), Qt::LeftButton);
    return sent();
  }
};

TEST_F(DioDiagTest, LoadReadsTheFirmwareAndSwitchesEveryOutputOff) {
  startModule("7451", 5);
  network_->modify(5, [](sim::ModuleState& m) { m.digitalOutputs = 0xFF; });
  open<DioDiagForm>();
  EXPECT_EQ(window_->windowTitle(), "Digital I/O Module Diagnostic");
  EXPECT_EQ(sent(), (Frames{"$05F", "#050000"}));
  EXPECT_EQ(text("ModuleName"), "7451");
  EXPECT_EQ(text("Addr"), "5 (05H)");
  EXPECT_EQ(text("Rev"), "D1.4");
  EXPECT_EQ(text("Label3"), "F/W rev.:");
  EXPECT_EQ(network_->state(5).digitalOutputs, 0u);
  EXPECT_EQ(litBits("OutputBit"), 0u);
}

TEST_F(DioDiagTest, The7458IsSwitchedOffByteWiseAndInputOnlyModelsGetNoCommand) {
  start({steady("7458", 4), steady("7455", 3)});
  network_->modify(4, [](sim::ModuleState& m) { m.digitalOutputs = 0x8001; });
  open<DioDiagForm>();
  EXPECT_EQ(sent(), (Frames{"$04F", "#04T0000"}));
  EXPECT_EQ(network_->state(4).digitalOutputs, 0u);

  openFor("7455", 3);
  EXPECT_EQ(sent(), (Frames{"$03F"}));
}

TEST_F(DioDiagTest, EachModelShowsItsOwnBitsAndHidesTheRest) {
  struct Layout {
    const char* model;
    int inputs, outputs;
  };
  int address = 1;
  std::vector<sim::ModuleState> modules;
  const Layout layouts[] = {{"7451", 7, 8},  {"7453", 8, 0}, {"7455", 16, 0}, {"7456", 15, 0},
                            {"7458", 0, 15}, {"7472", 4, 4}, {"7474", 0, 8},  {"7476", 0, 8}};
  for (const auto& layout : layouts) modules.push_back(simModule(layout.model, address++));
  start(modules);
  address = 1;
  for (const auto& layout : layouts) {
    SCOPED_TRACE(layout.model);
    openFor(layout.model, address++);
    EXPECT_EQ(shown("InputBit", "Label_di"), layout.inputs);
    EXPECT_EQ(shown("OutputBit", "Label_do"), layout.outputs);
    EXPECT_EQ(frameShown("Frame1"), layout.inputs > 0);
    EXPECT_EQ(frameShown("Frame2"), layout.outputs > 0);
  }
}

TEST_F(DioDiagTest, AWindowWithOneFrameIsShorter) {
  start({steady("7472", 6), steady("7474", 7)});
  open<DioDiagForm>();
  const int both = window_->height();
  openFor("7474", 7);
  EXPECT_LT(window_->height(), both - 20);
  EXPECT_GT(control<QPushButton>(QStringLiteral("ExitBtn")).y(),
            control<QGroupBox>(QStringLiteral("Frame2")).y());
}

TEST_F(DioDiagTest, TickLightsTheInputsOfEachModelsReply) {
  start({steady("7453", 2, 0x81), steady("7451", 1, 0x45), steady("7455", 3, 0xBEEF)}, 2);
  open<DioDiagForm>();
  EXPECT_EQ(tick(), (Frames{"$026"}));
  EXPECT_EQ(litBits("InputBit"), 0x81u) << "inputs 0 and 7";

  openFor("7451", 1);
  network_->modify(1, [](sim::ModuleState& m) { m.digitalOutputs = 0x0C; });
  tick();
  EXPECT_EQ(litBits("InputBit"), 0x45u) << "positions 3-4, not the outputs before them";

  openFor("7455", 3);
  tick();
  EXPECT_EQ(litBits("InputBit"), 0xBEEFu);
}

TEST_F(DioDiagTest, OutputOnlyModelsStillPollAndLightNothing) {
  startModule("7474", 5);
  open<DioDiagForm>();
  network_->modify(5, [](sim::ModuleState& m) { m.digitalOutputs = 0xFF; });
  EXPECT_EQ(tick(), (Frames{"$056"}));
  EXPECT_EQ(litBits("InputBit"), 0u);
  EXPECT_EQ(litBits("OutputBit"), 0u) << "the outputs are never read back";
}

TEST_F(DioDiagTest, RefusedGarbledAndMissingRepliesKeepTheLastInputs) {
  startModule("7453", 2, 0x81);
  open<DioDiagForm>();
  tick();
  network_->modify(2, [](sim::ModuleState& m) { m.digitalInputs = 0x7E; });
  for (const std::string reply : {"?02\r", "!7E000\r", "!7E00000\r", ">7E0000\r", "!7G0000\r"}) {
    network_->setFault(2, "$AA6", sim::FaultSpec{.reply = reply});
    tick();
    EXPECT_EQ(litBits("InputBit"), 0x81u) << reply;
  }
  network_->setFault(2, "$AA6", sim::FaultSpec{.silent = true});
  tick();
  EXPECT_EQ(litBits("InputBit"), 0x81u) << "a module that stops answering";
  network_->clearFaults();
  tick();
  EXPECT_EQ(litBits("InputBit"), 0x7Eu);
}

TEST_F(DioDiagTest, AChecksumModuleIsReadWithItsChecksumAndAWrongOneIsNoReading) {
  startModule("7453", 0x1A, 0x03, true);
  open<DioDiagForm>();
  EXPECT_EQ(text("Rev"), "D1.4");
  tick();
  EXPECT_EQ(litBits("InputBit"), 0x03u);
  network_->modify(0x1A, [](sim::ModuleState& m) { m.digitalInputs = 0xFF; });
  network_->setFault(0x1A, "$AA6", sim::FaultSpec{.wrongChecksum = true});
  tick();
  EXPECT_EQ(litBits("InputBit"), 0x03u);
}

TEST_F(DioDiagTest, NoPrefixOfAGoodReplyChangesTheLamps) {
  startModule("7455", 3, 0x00F0);
  open<DioDiagForm>();
  tick();
  const std::string good = "!0F0F00";
  for (std::size_t n = 0; n < good.size(); ++n) {
    network_->setFault(3, "$AA6", sim::FaultSpec{.reply = good.substr(0, n) + "\r"});
    tick();
    EXPECT_EQ(litBits("InputBit"), 0x00F0u) << n;
  }
  network_->setFault(3, "$AA6", sim::FaultSpec{.reply = good + "\r"});
  tick();
  EXPECT_EQ(litBits("InputBit"), 0x0F0Fu);
}

TEST_F(DioDiagTest, AClickSwitchesOneOutputAndTheNextSwitchesItBack) {
  startModule("7451", 5);
  open<DioDiagForm>();
  EXPECT_EQ(click("OutputBit", 3), (Frames{"#051301"}));
  EXPECT_TRUE(lamp("OutputBit", 3).lit());
  EXPECT_EQ(click("OutputBit", 7), (Frames{"#051701"}));
  EXPECT_EQ(network_->state(5).digitalOutputs, 0x88u);
  EXPECT_EQ(click("OutputBit", 3), (Frames{"#051300"}));
  EXPECT_FALSE(lamp("OutputBit", 3).lit());
  EXPECT_EQ(network_->state(5).digitalOutputs, 0x80u);

  lamp("OutputBit", 0).setFocus();
  network_->clearFrames();
  QTest::keyClick(&lamp("OutputBit", 0), Qt::Key_Space);
  EXPECT_EQ(sent(), (Frames{"#051001"})) << "the keyboard switches an output too";
  EXPECT_TRUE(lamp("OutputBit", 0).lit());
}

TEST_F(DioDiagTest, The7458SwitchesLinesOfItsLowAndHighByte) {
  startModule("7458", 4);
  open<DioDiagForm>();
  EXPECT_EQ(click("OutputBit", 9), (Frames{"#04H11"}));
  EXPECT_EQ(click("OutputBit", 2), (Frames{"#04L21"}));
  EXPECT_EQ(network_->state(4).digitalOutputs, 0x0204u);
  EXPECT_EQ(click("OutputBit", 9), (Frames{"#04H10"}));
  EXPECT_EQ(click("OutputBit", 14), (Frames{"#04H61"}));
  EXPECT_EQ(network_->state(4).digitalOutputs, 0x4004u);
  EXPECT_EQ(litBits("OutputBit"), 0x4004u);
}

TEST_F(DioDiagTest, AWriteTheModuleDidNotTakeSwitchesTheLampBack) {
  startModule("7472", 6);
  open<DioDiagForm>();
  network_->setFault(6, "#AA1*", sim::FaultSpec{.refuseAll = true});
  EXPECT_EQ(click("OutputBit", 1), (Frames{"#061101"}));
  EXPECT_FALSE(lamp("OutputBit", 1).lit()) << "refused";
  network_->setFault(6, "#AA1*", sim::FaultSpec{.silent = true});
  EXPECT_EQ(click("OutputBit", 1), (Frames{"#061101"})) << "the held state went back as well";
  EXPECT_FALSE(lamp("OutputBit", 1).lit()) << "no answer";
  EXPECT_EQ(network_->state(6).digitalOutputs, 0u);
  EXPECT_TRUE(ui_->messages.empty()) << "a failed write is not reported";

  network_->clearFaults();
  EXPECT_EQ(click("OutputBit", 1), (Frames{"#061101"}));
  EXPECT_TRUE(lamp("OutputBit", 1).lit());
  EXPECT_EQ(network_->state(6).digitalOutputs, 0x02u);
}

TEST_F(DioDiagTest, FirmwareComesOnlyFromAGoodReply) {
  startModule("7451", 5);
  network_->setFault(5, "$AAF", sim::FaultSpec{.reply = "?05\r"});
  open<DioDiagForm>();
  EXPECT_EQ(text("Rev"), "");
}

TEST_F(DioDiagTest, APulledAdapterShowsTheLineErrorAndKeepsTheLamps) {
  startNetworkOnLink({steady("7472", 6, 0x05)});
  openPort();
  setEntry(0, "7472", 6);
  context_->SelectedIndex = 0;
  open<DioDiagForm>();
  tick();
  network_->unplug();
  click("OutputBit", 0);
  EXPECT_EQ(text("LinkStatus").toStdString(), disconnectedText())
      << "a click shows it as a tick does";
  EXPECT_FALSE(lamp("OutputBit", 0).lit());
  tick();
  EXPECT_EQ(text("LinkStatus").toStdString(), disconnectedText()) << "while the adapter is out";
  EXPECT_EQ(litBits("InputBit"), 0x05u);
  EXPECT_TRUE(ui_->messages.empty());

  network_->replug();
  click("OutputBit", 0);
  EXPECT_EQ(text("LinkStatus"), "");
  EXPECT_TRUE(lamp("OutputBit", 0).lit());
}

TEST_F(DioDiagTest, TheTimerPollsWhileShownAndNothingIsSentAfterClose) {
  startModule("7453", 2, 0x81);
  auto form = std::make_unique<DioDiagForm>(*context_);
  network_->clearFrames();
  form->show();
  EXPECT_TRUE(QTest::qWaitFor([this] { return network_->frames().size() >= 2; }, 5000));
  EXPECT_TRUE(form->findChild<Lamp*>(QStringLiteral("InputBit(7)"))->lit());
  QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("ExitBtn")), Qt::LeftButton);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(form->polling());
  const std::size_t count = network_->frames().size();
  QTest::qWait(300);
  EXPECT_EQ(network_->frames().size(), count) << "no frame after the window closed";
}

}  // namespace
}  // namespace orvane::admin
