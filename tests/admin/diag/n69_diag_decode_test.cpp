// The 7469 test window's commands and reply decoding, without widgets.
#include "admin/diag/n69_diag_decode.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane::admin {
namespace {

TEST(N69DiagDecode, DirectionsFromPositionsOneAndTwo) {
  EXPECT_EQ(n69Directions(true, "!0A0F5A3C81"), 0x0A);
  EXPECT_EQ(n69Directions(true, "!1F00000000"), 0x0F) << "four ports, four bits";
  const int cfg = 0x03;
  EXPECT_FALSE(n69IsInput(cfg, 0));
  EXPECT_FALSE(n69IsInput(cfg, 1));
  EXPECT_TRUE(n69IsInput(cfg, 2)) << "CH is bit 1";
  EXPECT_TRUE(n69IsInput(cfg, 3)) << "CL is bit 0";
  EXPECT_TRUE(n69IsInput(0x08, 0)) << "A is bit 3";
  EXPECT_TRUE(n69IsInput(0x04, 1)) << "B is bit 2";
}

TEST(N69DiagDecode, DirectionsOnlyFromAGoodElevenCharacterReply) {
  EXPECT_FALSE(n69Directions(false, "!0A0F5A3C81"));
  EXPECT_FALSE(n69Directions(true, "?0E")) << "a refusal is no direction";
  EXPECT_FALSE(n69Directions(true, "!0A0000")) << "another digital model's reply";
  EXPECT_FALSE(n69Directions(true, "!0A0F5A3C812"));
  EXPECT_FALSE(n69Directions(true, "!0A0F5A3C8G"));
  EXPECT_FALSE(n69Directions(true, ">0A0F5A3C81"));
}

TEST(N69DiagDecode, InputsAndTheLampsOfEachGroup) {
  const auto inputs = n69Inputs(true, "!020F5A3C81");
  ASSERT_TRUE(inputs);
  EXPECT_EQ(inputs->isolated, 0x0Fu);
  EXPECT_EQ(inputs->ports, (std::array<unsigned, 3>{0x5A, 0x3C, 0x81}));
  EXPECT_EQ(n69GroupBits(*inputs, 0), 0x5Au);
  EXPECT_EQ(n69GroupBits(*inputs, 1), 0x3Cu);
  EXPECT_EQ(n69GroupBits(*inputs, 2), 0x8u) << "CH: bits 4-7 of port C";
  EXPECT_EQ(n69GroupBits(*inputs, 3), 0x1u) << "CL: bits 0-3 of port C";
  EXPECT_FALSE(n69Inputs(true, "?0E"));
  EXPECT_FALSE(n69Inputs(false, "!020F5A3C81"));
}

// Both decoders against every prefix of a good reply and a refusal: nothing
// counts but the whole reply, and nothing throws.
TEST(N69DiagDecode, EveryPrefixAndARefusal) {
  const std::string good = "!0C0A5A3C81";
  for (std::size_t n = 0; n < good.size(); ++n) {
    EXPECT_FALSE(n69Directions(true, good.substr(0, n))) << n;
    EXPECT_FALSE(n69Inputs(true, good.substr(0, n))) << n;
  }
  EXPECT_EQ(n69Directions(true, good), 0x0C);
  EXPECT_TRUE(n69Inputs(true, good));
  EXPECT_FALSE(n69Directions(true, "?0E"));
  EXPECT_FALSE(n69Inputs(true, "?0E"));
}

TEST(N69DiagDecode, LampsSitInTheirPortsBits) {
  EXPECT_EQ(n69LampCount(0), 8);
  EXPECT_EQ(n69LampCount(1), 8);
  EXPECT_EQ(n69LampCount(2), 4);
  EXPECT_EQ(n69LampCount(3), 4);
  const auto at = [](int group, int n) {
    const N69PortBit bit = n69PortBit(group, n);
    return std::pair(bit.port, bit.bit);
  };
  EXPECT_EQ(at(0, 7), std::pair(0, 7));
  EXPECT_EQ(at(1, 2), std::pair(1, 2));
  EXPECT_EQ(at(2, 0), std::pair(2, 4));
  EXPECT_EQ(at(2, 3), std::pair(2, 7));
  EXPECT_EQ(at(3, 3), std::pair(2, 3));
}

TEST(N69DiagDecode, PortCommands) {
  EXPECT_EQ(n69PortBody(0, 0x01), "0A01");
  EXPECT_EQ(n69PortBody(1, 0xA5), "0BA5");
  EXPECT_EQ(n69PortBody(2, 0x10), "0C10");
  EXPECT_EQ(std::string(kN69OutputsOffBody), "T000000");
}

}  // namespace
}  // namespace orvane::admin
