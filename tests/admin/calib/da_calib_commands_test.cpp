// The analog output calibration's texts and configuration commands without
// widgets.
#include "admin/calib/da_calib_commands.h"

#include <gtest/gtest.h>

namespace orvane::admin {
namespace {

TEST(DaCalibTexts, OneGuideTextPerStep) {
  EXPECT_EQ(daGuideText(1),
            "Apply power to the analog output module and let it warm up for about 30 minutes.");
  EXPECT_EQ(daGuideText(2),
            "Assure that the module is correctly installed and its configuration is in concord "
            "with your specification and matches the output range you want to calibrate.");
  EXPECT_EQ(daGuideText(3),
            "Connect either a 5-digit milliammeter or voltmeter with a shunt resister (250 Ohms, "
            "0.1%, and 10ppm) to the screw terminals of the module.");
  EXPECT_EQ(daGuideText(4),
            "Check the actual output value at the module's terminals. If it does not equal 4mA, "
            "use the 'Trim Up' or 'Trim Down' button to change the actual output. Trim the module "
            "until the milliammeter indicates exactly 4mA or the voltage meter indicates exactly "
            "1V.");
  EXPECT_EQ(daGuideText(5),
            "Check the actual output value at the module's terminals. If it does not equal 20mA, "
            "use the 'Trim Up' or 'Trim Down' button to change the actual output. Trim the module "
            "until the milliammeter indicates exactly 20mA or the voltage meter indicates exactly "
            "5V.");
  EXPECT_TRUE(daGuideText(0).isEmpty());
  EXPECT_TRUE(daGuideText(6).isEmpty());
}

TEST(DaCalibConfiguration, OnlyANineCharacterConfirmationIsSaved) {
  EXPECT_EQ(savedConfiguration(true, "!03320600"), "320600");
  EXPECT_EQ(savedConfiguration(true, "!1F310A42"), "310A42");
  EXPECT_EQ(savedConfiguration(false, "!03320600"), std::nullopt);
  EXPECT_EQ(savedConfiguration(true, "?03"), std::nullopt);
  EXPECT_EQ(savedConfiguration(true, "!0332060"), std::nullopt);
  EXPECT_EQ(savedConfiguration(true, "!033206000"), std::nullopt);
  EXPECT_EQ(savedConfiguration(true, ">03320600"), std::nullopt);
  EXPECT_EQ(savedConfiguration(true, ""), std::nullopt);
}

TEST(DaCalibConfiguration, TheSwitchKeepsTheBaudCodeAndTheChecksum) {
  EXPECT_EQ(switchBody(3, "320600"), "03300600");
  EXPECT_EQ(switchBody(3, "320640"), "03300640") << "a checksum module keeps its checksum";
  EXPECT_EQ(switchBody(3, "310142"), "03300140") << "the data format becomes 0";
  EXPECT_EQ(switchBody(0x1F, "300A03"), "1F300A00");
  EXPECT_EQ(switchBody(200, "32097F"), "C8300940");
}

TEST(DaCalibConfiguration, TheSwitchOrRestoreCountsOnlyWhenTheAddressCameBack) {
  EXPECT_TRUE(configurationTaken(true, "!03", 3));
  EXPECT_TRUE(configurationTaken(true, "!C8", 200));
  EXPECT_FALSE(configurationTaken(true, "?03", 3)) << "refused";
  EXPECT_FALSE(configurationTaken(false, "!03", 3)) << "cut off or a bad checksum";
  EXPECT_FALSE(configurationTaken(true, "!04", 3));
  EXPECT_FALSE(configurationTaken(true, "!03x", 3));
  EXPECT_FALSE(configurationTaken(true, "", 3));
}

TEST(DaCalibConfiguration, TheRestoreGivesBackWhatWasSaved) {
  EXPECT_EQ(restoreBody(3, "320600"), "03320600");
  EXPECT_EQ(restoreBody(0x1F, "310A42"), "1F310A42");
}

TEST(DaCalibConfiguration, AFailedRestoreNamesTheRangesAsASentenceWould) {
  const QString held =
      "The module's configuration could not be restored; it is still in the 0 "
      "to 20 mA range.";
  EXPECT_EQ(restoreFailureText(true, "330640"),
            held + " It was in the +/- 10 V range when this window opened.");
  EXPECT_EQ(restoreFailureText(true, "7F0600"), held) << "a range the catalogue does not name";
}

}  // namespace
}  // namespace orvane::admin
