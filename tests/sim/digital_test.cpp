// Digital I/O modules, including the port directions of 7469.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "line_client.h"
#include "sim/network.h"

namespace orvane::sim {
namespace {

using namespace std::chrono_literals;
using test::LineClient;

ModuleState steady(const std::string& model, int address, std::uint32_t inputs) {
  auto m = makeModule(model, address);
  m.digitalInputs = inputs;
  m.inputToggleMask = 0;
  return m;
}

TEST(DigitalIo, DataReadLayoutPerModel) {
  Network net({steady("7451", 1, 0x45), steady("7453", 2, 0x81), steady("7455", 3, 0xBEEF),
               steady("7458", 4, 0), steady("7474", 5, 0), steady("7472", 6, 0x0F)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$016"), "!004500");
  EXPECT_EQ(line.ask("$026"), "!810000");
  EXPECT_EQ(line.ask("$036"), "!BEEF00");
  EXPECT_EQ(line.ask("#04T1234"), ">");
  EXPECT_EQ(line.ask("$046"), "!123400");
  EXPECT_EQ(line.ask("#0500A5"), ">");
  EXPECT_EQ(line.ask("$056"), "!A50000");
  EXPECT_EQ(line.ask("#06000C"), ">");
  EXPECT_EQ(line.ask("$066"), "!0C0F00");
}

TEST(DigitalIo, PortAndLineWritesWithinTheModelsOutputs) {
  Network net(
      {steady("7451", 1, 0), steady("7472", 2, 0), steady("7453", 3, 0), steady("7458", 4, 0)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("#011301"), ">");
  EXPECT_EQ(line.ask("#011701"), ">");
  EXPECT_EQ(net.state(1).digitalOutputs, 0x88u);
  EXPECT_EQ(line.ask("#011300"), ">");
  EXPECT_EQ(net.state(1).digitalOutputs, 0x80u);
  EXPECT_EQ(line.ask("#011801"), "?01");  // 8 outputs: 0 to 7
  EXPECT_EQ(line.ask("#020010"), "?02");  // 7472 has four outputs
  EXPECT_EQ(line.ask("#030001"), "?03");  // input-only
  EXPECT_EQ(line.ask("#04H11"), ">");
  EXPECT_EQ(line.ask("#04L71"), ">");
  EXPECT_EQ(net.state(4).digitalOutputs, 0x0280u);
  EXPECT_EQ(line.ask("#040L0F"), ">");
  EXPECT_EQ(line.ask("#040H01"), ">");
  EXPECT_EQ(line.ask("$046"), "!010F00");
  EXPECT_EQ(line.ask("#04H81"), "?04");  // a half has lines 0 to 7
}

TEST(DigitalIo, PolarityIsStoredReadAndInvertsInputs) {
  Network net({steady("7453", 2, 0x81)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("~02CR"), "!0200");
  EXPECT_EQ(line.ask("~02CP11"), "!02");
  EXPECT_EQ(line.ask("~02CR"), "!0211");
  EXPECT_EQ(line.ask("$026"), "!7E0000");
  EXPECT_EQ(line.ask("~02CP2"), "?02");
}

TEST(DigitalIo, InputsToggleByThemselves) {
  auto m = steady("7455", 3, 0x0000);
  m.inputToggleMask = 0x0001;
  m.inputTogglePeriodS = 0.05;
  Network net({m});
  LineClient line(net.slavePath());
  std::set<std::string> seen;
  for (int i = 0; i < 10 && seen.size() < 2; ++i) {
    if (auto r = line.ask("$036")) seen.insert(*r);
    std::this_thread::sleep_for(30ms);
  }
  EXPECT_EQ(seen.size(), 2u);
}

TEST(DigitalIo, SynchronizedSamplingOfDigitalData) {
  Network net({steady("7453", 2, 0x3C)});
  LineClient line(net.slavePath());
  line.exchange("#**", false, 50ms);
  EXPECT_EQ(line.ask("$024"), "!13C0000");
  EXPECT_EQ(line.ask("$024"), "!03C0000");
}

TEST(Port7469, DirectionsDecideWhatThePortsShowAndTake) {
  auto m = steady("7469", 7, 0x0A'33'22'11);  // isolated A, port C 33, B 22, A 11
  m.portDirections = 0x0F;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$076"), "!0F0A112233");
  EXPECT_EQ(line.ask("#070A55"), "?07");  // port A is an input
  EXPECT_EQ(line.ask("$07S03"), "!07");   // CH and CL in, A and B out
  EXPECT_EQ(line.ask("#070A55"), ">");
  EXPECT_EQ(line.ask("#070BAA"), ">");
  EXPECT_EQ(line.ask("#070CFF"), "?07");
  EXPECT_EQ(line.ask("$076"), "!030A55AA33");
  EXPECT_EQ(line.ask("$07S01"), "!07");  // CH out
  EXPECT_EQ(line.ask("#070C10"), ">");
  EXPECT_EQ(line.ask("#07C01"), "?07");  // CL line 0 is an input
  EXPECT_EQ(line.ask("#07C51"), ">");
  EXPECT_EQ(line.ask("$076"), "!010A55AA33");
  EXPECT_EQ(line.ask("#07T000000"), ">");
  EXPECT_EQ(line.ask("$076"), "!010A000003");
  EXPECT_EQ(line.ask("$07S10"), "?07");
}

}  // namespace
}  // namespace orvane::sim
