#include "serial/port_names.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "serial/config_dir.h"
#include "temp_dir.h"

namespace orvane::serial {
namespace {

namespace fs = std::filesystem;

using test::TempDir;

TEST(PortsConf, ReadsLinesCommentsAndBlanks) {
  auto ports = parsePortsConf(
      "# adapters on this laptop\n"
      "COM3=/dev/ttyUSB0\n"
      "\n"
      "  com4 = /dev/ttyUSB1  \r\n"
      "COM12=/dev/serial/by-id/usb-FTDI_1\n"
      "COMX=/dev/nothing\n"
      "COM5\n"
      "COM6=\n"
      "COM0=/dev/zero-is-no-port\n"
      "LPT1=/dev/lp0\n");
  ASSERT_EQ(ports.size(), 3u);
  EXPECT_EQ(ports[3], "/dev/ttyUSB0");
  EXPECT_EQ(ports[4], "/dev/ttyUSB1");
  EXPECT_EQ(ports[12], "/dev/serial/by-id/usb-FTDI_1");
}

TEST(PortsConf, RefusesComNumbersOfMoreThanThreeDigitsOrWithOtherCharacters) {
  auto ports = parsePortsConf(
      "COM99999999999=/dev/overflows-an-int\n"
      "COM4294967297=/dev/wraps-to-one\n"
      "COM0001=/dev/four-digits\n"
      "COM1x=/dev/letter\n"
      "COM-1=/dev/sign\n"
      "COM1 2=/dev/blank-inside\n"
      "COM999=/dev/largest\n"
      "COM007=/dev/leading-zeros\n");
  ASSERT_EQ(ports.size(), 2u);
  EXPECT_EQ(ports[999], "/dev/largest");
  EXPECT_EQ(ports[7], "/dev/leading-zeros");
}

TEST(PortsConf, ALaterLineWins) {
  auto ports = parsePortsConf("COM1=/dev/a\nCOM1=/dev/b\n");
  EXPECT_EQ(ports[1], "/dev/b");
}

TEST(PortsConf, DefaultMappingWithoutFileOrLine) {
  TempDir dir;
  EXPECT_EQ(devicePathForCom(1, dir.path()), "/dev/ttyS0");
  EXPECT_EQ(devicePathForCom(8, dir.path()), "/dev/ttyS7");
  std::ofstream(dir.path() / "ports.conf") << "COM2=/dev/ttyUSB0\n";
  EXPECT_EQ(devicePathForCom(2, dir.path()), "/dev/ttyUSB0");
  EXPECT_EQ(devicePathForCom(3, dir.path()), "/dev/ttyS2");
}

TEST(PortsConf, ReadsTheFileOfTheConfigDirectoryOrNothing) {
  TempDir dir;
  EXPECT_TRUE(readPortsConf(dir.path()).empty());
  std::ofstream(dir.path() / "ports.conf") << "# bench\nCOM2=/dev/ttyUSB0\nCOM12=/dev/ttyACM0\n";
  EXPECT_EQ(readPortsConf(dir.path()),
            (std::map<int, std::string>{{2, "/dev/ttyUSB0"}, {12, "/dev/ttyACM0"}}));
}

TEST(PortsConf, IsReadAgainAtEachLookup) {
  TempDir dir;
  std::ofstream(dir.path() / "ports.conf") << "COM1=/dev/first\n";
  EXPECT_EQ(devicePathForCom(1, dir.path()), "/dev/first");
  std::ofstream(dir.path() / "ports.conf") << "COM1=/dev/second\n";
  EXPECT_EQ(devicePathForCom(1, dir.path()), "/dev/second");
}

TEST(ConfigDir, FollowsXdgConfigHomeThenHome) {
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  std::string savedXdg = oldXdg ? oldXdg : "";
  ::setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
  EXPECT_EQ(configDir(), fs::path("/tmp/xdg-test/orvane"));
  ::unsetenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  if (home) {
    EXPECT_EQ(configDir(), fs::path(home) / ".config" / "orvane");
  }
  if (oldXdg) ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
}

}  // namespace
}  // namespace orvane::serial
