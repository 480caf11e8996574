// Configuration through "$AA2" and "%AANNTTCCFF", and the initialization state.
#include <gtest/gtest.h>

#include "line_client.h"
#include "protocol/frame.h"
#include "sim/network.h"

namespace orvane::sim {
namespace {

using namespace std::chrono_literals;
using test::LineClient;

ModuleState initModule() {
  auto m = makeModule("7215", 0x05);
  m.baudCode = 4;  // stored 19200 with checksum
  m.checksum = true;
  m.initState = true;
  return m;
}

TEST(Configuration, ReplyCarriesTypeBaudAndFormatWithChecksumBit) {
  auto m = makeModule("7215", 0x12);
  m.format = 2;
  m.checksum = true;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$122", true), "!12080642");
}

TEST(Configuration, InitStateAnswersAtZeroAt9600WithoutChecksumAndReportsStoredAddress) {
  Network net({initModule()});
  LineClient line(net.slavePath(), 19200);
  EXPECT_EQ(line.ask("$052", true), std::nullopt);
  line.setLine(9600);
  EXPECT_EQ(line.ask("$052", true), std::nullopt);
  EXPECT_EQ(line.ask("$002"), "!05080740");
  EXPECT_EQ(line.ask("$00M"), "!007215");
}

TEST(Configuration, LinkChangeRefusedOutsideInitState) {
  Network net({makeModule("7215", 0x05)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("%0505080740"), "?05");  // checksum on
  EXPECT_EQ(line.ask("%0505080700"), "?05");  // 19200
  EXPECT_EQ(line.ask("%0505080601"), "!05");  // data format only
  EXPECT_EQ(net.state(5).format, 1);
}

TEST(Configuration, NewAddressTakesEffectAtOnce) {
  Network net({makeModule("7215", 0x05)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("%0506080600"), "!06");
  EXPECT_EQ(line.ask("$05M"), std::nullopt);
  EXPECT_EQ(line.ask("$06M"), "!067215");
  EXPECT_EQ(net.addresses(), std::vector<int>{6});
}

TEST(Configuration, AMoveToOrFromAddressZeroIsAnsweredInTheFramingItCameIn) {
  auto m = makeModule("7215", 0x05);
  m.checksum = true;
  Network net({m});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.exchange("%0500080640", true), "!00" + protocol::checksumDigits("!00") + "\r");
  EXPECT_EQ(line.ask("$00M"), "!007215") << "at 00 without checksum";
  EXPECT_EQ(line.exchange("%0005080640"), "!05\r");
  EXPECT_EQ(line.ask("$05M", true), "!057215") << "at its address with checksum again";
}

TEST(Configuration, InvalidTypeCodeFormatOrTakenAddressIsRefused) {
  Network net({makeModule("7215", 0x05), makeModule("7342", 0x07)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("%05050E0600"), "?05");  // thermocouple on a voltage module
  EXPECT_EQ(line.ask("%0505080603"), "?05");  // ohms
  EXPECT_EQ(line.ask("%0507080600"), "?05");  // address of the 7342
  EXPECT_EQ(line.ask("%05050806"), "?05");
}

TEST(Configuration, InitStateStoresBaudAndChecksumUntilItIsLeft) {
  Network net({initModule()});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("%0009080600"), "!09");  // 9600, checksum off
  EXPECT_EQ(line.ask("$002"), "!09080600");
  net.setInitState(9, false);
  EXPECT_EQ(line.ask("$092"), "!09080600");
  const auto m = net.state(9);
  EXPECT_FALSE(m.checksum);
  EXPECT_EQ(m.baudCode, 3);
  EXPECT_FALSE(m.initState);
}

TEST(Configuration, LeavingInitStateWithoutChangesRestoresStoredLink) {
  Network net({initModule()});
  net.setInitState(5, false);
  LineClient line(net.slavePath(), 19200);
  EXPECT_EQ(line.ask("$052", true), "!05080740");
  net.setInitState(5, true);
  line.setLine(9600);
  EXPECT_EQ(line.ask("$002"), "!05080740");
}

TEST(Configuration, IdentityReadsAndResetStatus) {
  Network net({makeModule("7342", 0x20)});
  LineClient line(net.slavePath());
  EXPECT_EQ(line.ask("$20M"), "!207342");
  EXPECT_EQ(line.ask("$20F"), "!20A1.0");
  EXPECT_EQ(line.ask("$205"), "!201");  // set after power-on, cleared by reading
  EXPECT_EQ(line.ask("$205"), "!200");
  EXPECT_EQ(line.ask("$20RS"), "!20");
  EXPECT_EQ(line.ask("$205"), "!201");
}

}  // namespace
}  // namespace orvane::sim
