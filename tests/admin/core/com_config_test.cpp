#include "admin/core/com_config.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "admin/core/admin_context.h"
#include "tests/admin/core/test_ui.h"

namespace orvane::admin {
namespace {

TEST(ComCfgParse, ReadsTheWorkedFile) {
  const auto content = parseComCfg("150\r\n3\r\nn,8,1\r\n4800\r\n9600\r\n");
  EXPECT_EQ(content.timeout, 150);
  EXPECT_EQ(content.port, 3);
  EXPECT_EQ(content.baudRates, (std::vector<int>{4800, 9600}));
}

TEST(ComCfgParse, TakesPlainLineFeedsAndSkipsBlankAndWordyBaudLines) {
  const auto content = parseComCfg("100\n1\ne,8,1\n\n300\nfast\n115200\n");
  EXPECT_EQ(content.baudRates, (std::vector<int>{300, 115200}));
}

TEST(ComCfgParse, RefusesUnreadableLines) {
  EXPECT_THROW(parseComCfg("100\r\n2\r\n"), ComCfgError);            // ends before line 3
  EXPECT_THROW(parseComCfg("fast\r\n2\r\nn,8,1\r\n"), ComCfgError);  // time-out not a number
  EXPECT_THROW(parseComCfg("100\r\nCOM2\r\nn,8,1\r\n"), ComCfgError);
  EXPECT_THROW(parseComCfg("40000\r\n2\r\nn,8,1\r\n"), ComCfgError);  // beyond 16 bits
  EXPECT_THROW(parseComCfg("100\r\n2\r\nn,8\r\n"), ComCfgError);
  EXPECT_THROW(parseComCfg("100\r\n2\r\nn,eight,1\r\n"), ComCfgError);
  EXPECT_EQ(parseComCfg("-5\r\n2\r\nn,8,1\r\n").timeout, -5);
}

// A message box takes many seconds to lay out a line of a megabyte.
TEST(ComCfgParse, ARefusalQuotesAtMost80CharactersOfItsLine) {
  const std::string digits(100000, '1');
  const std::string letters(100000, 'n');
  const struct {
    std::string text;
    std::string refusal;
  } cases[] = {
      {digits + "\r\n1\r\nn,8,1\r\n",
       "COM.CFG: the time-out \"" + digits.substr(0, 80) + "...\" is not a number that fits"},
      {"100\r\n1\r\n" + letters + "\r\n",
       "COM.CFG: line 3 \"" + letters.substr(0, 80) + "...\" is not parity,8,1"},
      {"100\r\n" + digits.substr(0, 80) + "\r\nn,8,1\r\n",
       "COM.CFG: the port number \"" + digits.substr(0, 80) + "\" is not a number that fits"},
  };
  for (const auto& c : cases) {
    try {
      parseComCfg(c.text);
      ADD_FAILURE() << c.refusal;
    } catch (const ComCfgError& e) {
      EXPECT_EQ(e.what(), c.refusal);
    }
  }
}

TEST(ComCfgParse, ABaudLineBeyondIntIsNoRateNotOneItWrapsOnto) {
  // 2^32 + 9600 and 2^64 + 9600
  EXPECT_EQ(parseComCfg("100\r\n1\r\nn,8,1\r\n4294976896\r\n18446744073709561216\r\n").baudRates,
            std::vector<int>{});
}

TEST(ComCfgText, WritesPortParityAndSearchedRatesOnly) {
  QTemporaryDir dir;
  AdminContext context(dir.path().toStdString(), std::make_unique<testing::TestUi>());
  context.ComPort = 3;
  context.ReplyTimeout = 250;
  auto& setting = context.portSetting(3);
  setting.Parity = 2;
  setting.DataBits = 7;
  setting.StopBits = 2;
  setting.SearchFlags = {0, 0, 0, 1, 2, 0, 1, 1};  // 2 (greyed) is not searched
  EXPECT_EQ(comCfgText(context), "250\r\n3\r\ne,8,1\r\n9600\r\n115200\r\n57600\r\n");
  setting.SearchFlags.fill(0);
  setting.Parity = 1;
  EXPECT_EQ(comCfgText(context), "250\r\n3\r\no,8,1\r\n");
}

}  // namespace
}  // namespace orvane::admin
