// The digital I/O test window's commands and reply decoding, without widgets.
#include "admin/diag/dio_diag_decode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "admin/diag/digital_reply.h"

namespace orvane::admin {
namespace {

const std::vector<std::string> kModels = {"451", "453", "455", "456", "458", "472", "474", "476"};

TEST(DioDiagDecode, BitsShownPerModel) {
  const auto shown = [](const char* key) {
    const DioBits bits = dioBitsShown(key);
    return std::pair(bits.inputs, bits.outputs);
  };
  EXPECT_EQ(shown("451"), std::pair(7, 8));
  EXPECT_EQ(shown("453"), std::pair(8, 0));
  EXPECT_EQ(shown("455"), std::pair(16, 0));
  EXPECT_EQ(shown("456"), std::pair(15, 0));
  EXPECT_EQ(shown("458"), std::pair(0, 15));
  EXPECT_EQ(shown("472"), std::pair(4, 4));
  EXPECT_EQ(shown("474"), std::pair(0, 8));
  EXPECT_EQ(shown("476"), std::pair(0, 8));
  EXPECT_EQ(shown("469"), std::pair(0, 0)) << "the 7469 has a window of its own";
}

TEST(DioDiagDecode, InputValueFromTheModelsPositions) {
  EXPECT_EQ(dioInputValue("451", true, "!0C4500"), 0x45u) << "positions 3-4, after the outputs";
  EXPECT_EQ(dioInputValue("472", true, "!030A00"), 0x0Au);
  EXPECT_EQ(dioInputValue("453", true, "!810000"), 0x81u);
  EXPECT_EQ(dioInputValue("455", true, "!BEEF00"), 0xBEEFu);
  EXPECT_EQ(dioInputValue("456", true, "!7FFF00"), 0x7FFFu);
  EXPECT_EQ(dioInputValue("458", true, "!123400"), 0u) << "an output-only model reads nothing";
  EXPECT_EQ(dioInputValue("474", true, "!A50000"), 0u);
}

TEST(DioDiagDecode, OnlyAGoodSevenCharacterReplyCounts) {
  EXPECT_FALSE(dioInputValue("453", false, "!810000")) << "a failed exchange";
  EXPECT_FALSE(dioInputValue("453", true, "!8100000"));
  EXPECT_FALSE(dioInputValue("453", true, ">810000"));
  EXPECT_FALSE(dioInputValue("453", true, "!8G0000")) << "a garbled digit";
  EXPECT_TRUE(dioInputValue("453", true, "!81XX00")) << "only the input digits are read";
  EXPECT_FALSE(dioInputValue("458", true, "?04")) << "not even an output-only model's 0";
}

// Every decoder against every prefix of a good reply and a refusal: nothing
// counts but the whole reply, and nothing throws.
TEST(DioDiagDecode, EveryPrefixAndARefusal) {
  const std::string good = "!5A3C00";
  for (const auto& key : kModels) {
    for (std::size_t n = 0; n < good.size(); ++n)
      EXPECT_FALSE(dioInputValue(key, true, good.substr(0, n))) << key << " " << n;
    EXPECT_TRUE(dioInputValue(key, true, good)) << key;
    EXPECT_FALSE(dioInputValue(key, true, "?05")) << key;
  }
  for (const std::string reply : {"", "?", "?0", "?05"})
    EXPECT_FALSE(outputWriteTaken(true, reply)) << reply;
  EXPECT_TRUE(outputWriteTaken(true, ">"));
}

TEST(DioDiagDecode, OutputsOffAtLoad) {
  for (const char* key : {"451", "472", "474", "476"}) EXPECT_EQ(dioOutputsOffBody(key), "0000");
  EXPECT_EQ(dioOutputsOffBody("458"), "T0000");
  for (const char* key : {"453", "455", "456"}) EXPECT_EQ(dioOutputsOffBody(key), "") << key;
}

TEST(DioDiagDecode, SingleOutputCommands) {
  EXPECT_EQ(dioOutputBody("451", 3, 1), "1301");
  EXPECT_EQ(dioOutputBody("476", 7, 0), "1700");
  EXPECT_EQ(dioOutputBody("472", 0, 1), "1001");
  EXPECT_EQ(dioOutputBody("458", 7, 1), "L71");
  EXPECT_EQ(dioOutputBody("458", 8, 1), "H01") << "the first line of the high byte";
  EXPECT_EQ(dioOutputBody("458", 9, 1), "H11");
  EXPECT_EQ(dioOutputBody("458", 9, 0), "H10");
  EXPECT_EQ(dioOutputBody("458", 14, 1), "H61");
  EXPECT_EQ(dioOutputBody("455", 0, 1), "");
}

TEST(DigitalReply, HexFieldsAndTakenWrites) {
  EXPECT_EQ(hexField("!0A1f", 1, 4), 0x0A1Fu);
  EXPECT_FALSE(hexField("!0A1", 1, 4)) << "too short";
  EXPECT_FALSE(hexField("!0A 1", 1, 4));
  EXPECT_FALSE(hexField("", 5, 2));
  EXPECT_TRUE(outputWriteTaken(true, ">"));
  EXPECT_TRUE(outputWriteTaken(true, "!05")) << "any lead but a refusal counts as taken";
  EXPECT_FALSE(outputWriteTaken(false, ">")) << "no reply, or a failed checksum";
  EXPECT_FALSE(outputWriteTaken(true, "?05"));
  EXPECT_FALSE(outputWriteTaken(true, ""));
}

}  // namespace
}  // namespace orvane::admin
