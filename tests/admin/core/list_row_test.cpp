#include "admin/core/list_row.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "admin/core/admin_context.h"
#include "tests/admin/core/test_ui.h"

namespace orvane::admin {
namespace {

class ListRowTest : public ::testing::Test {
 protected:
  ListRowTest() : context_(dir_.path().toStdString(), std::make_unique<testing::TestUi>()) {}

  ModuleEntry& entry(const std::string& model, int address, int baudCode = 3) {
    auto& e = context_.ModuleList[0];
    e = ModuleEntry{};
    e.ModelName = modelNameField(model);
    e.Address = address;
    e.BaudCode = baudCode;
    return e;
  }
  std::string row() const { return buildListRow(context_, 0); }

  QTemporaryDir dir_;
  AdminContext context_;
};

const std::string kNoLabel = "         ";

TEST_F(ListRowTest, AnalogRowSpellsOutEveryColumn) {
  auto& e = entry("7215", 1);
  e.TypeCode = 0x08;
  EXPECT_EQ(row(), std::string(" ") + "  1(01H)" + "   " + "7215  " + "    " + "9600  " + "   " +
                       "   V     " + "   " + "+/- 10V         ");
}

TEST_F(ListRowTest, AddressColumnMarksTheInitializationEntry) {
  entry("7215", 5);
  context_.InitModuleIndex = 0;
  EXPECT_EQ(row().substr(0, 9), "*  5(05H)");
  context_.InitModuleIndex = -1;
  entry("7215", 200);
  EXPECT_EQ(row().substr(0, 9), " 200(C8H)");
  entry("7215", 12);
  EXPECT_EQ(row().substr(0, 9), "  12(0CH)");
}

TEST_F(ListRowTest, BaudColumnIsSixCharactersWide) {
  entry("7215", 1, 6);
  EXPECT_EQ(row().substr(18, 10), "    115200");
  entry("7215", 1, 7);
  EXPECT_EQ(row().substr(18, 10), "    57600 ");
  entry("7215", 1, 0);
  EXPECT_EQ(row().substr(18, 10), "    1200  ");
}

TEST_F(ListRowTest, FormatLabelsFollowFamilyAndDataFormat) {
  struct Case {
    const char* model;
    int typeCode;
    int dataFormat;
    std::string tail;
  };
  const Case cases[] = {
      {"7213", 0x00, 0, "   " + std::string("   mV    ") + "   " + "+/- 15mV        "},
      {"7213", 0x0E, 1, "   " + std::string("   %     ") + "   " + "T/C Type J      "},
      {"7228", 0x08, 2, "   " + std::string("   2's   ") + "   " + "+/- 10V         "},
      {"7226", 0x20, 3, "   " + std::string("   Ohms  ") + "   " + "Pt, +/- 100C    "},
      {"7226", 0x2A, 0, "   " + std::string("   ohms  ") + "   " + "Cu, 0~60 ohms   "},
      {"7342", 0x31, 2, "   " + std::string("   HEX   ") + "   " + "4 to 20mA       "},
      {"7342", 0x32, 3, "   " + std::string("") + "   " + "0 to 10V        "},
      {"7231", 0x08, 5, "   " + std::string("") + "   " + "+/- 10V         "},
  };
  for (const auto& c : cases) {
    auto& e = entry(c.model, 1);
    e.TypeCode = c.typeCode;
    e.DataFormat = c.dataFormat;
    EXPECT_EQ(row().substr(28), c.tail) << c.model << " format " << c.dataFormat;
  }
}

TEST_F(ListRowTest, FamiliesWithoutFormatShowTheirRemark) {
  entry("7451", 3);
  EXPECT_EQ(row().substr(28), "   " + kNoLabel + "   " + "Digital I/O");
  entry("7469", 3);
  EXPECT_EQ(row().substr(28), "   " + kNoLabel + "   " + "Digital I/O");
  entry("7586", 3).TypeCode = 0x51;
  EXPECT_EQ(row().substr(28), "   " + kNoLabel + "   " + "Frequency       ");
  entry("7586", 3).TypeCode = 0x50;
  EXPECT_EQ(row().substr(28), "   " + kNoLabel + "   " + "Counter         ");
  entry("7999", 3);
  EXPECT_EQ(row().substr(28), "   " + kNoLabel + "   " + "Unknown Module");
  entry("", 3);
  EXPECT_EQ(row(), "   3(03H)         " + std::string("    9600  ") + "   " + kNoLabel + "   " +
                       "Unknown Module");
}

TEST_F(ListRowTest, ConverterRowShowsItsSerialSettings) {
  auto& e = entry("7912", 2);
  e.ParityCode = 2;
  e.DataFormat = 3;
  e.StopBitsCode = 0;
  e.InterfaceCode = 1;
  EXPECT_EQ(row().substr(28), "     n,8,1     RS-485");
  e.ParityCode = 1;
  e.DataFormat = 2;
  e.StopBitsCode = 1;
  e.InterfaceCode = 0;
  EXPECT_EQ(row().substr(28), "     o,7,2     RS-422");
  e.ParityCode = 3;
  EXPECT_EQ(row().substr(28), "     e,7,2     RS-422");
}

}  // namespace
}  // namespace orvane::admin
