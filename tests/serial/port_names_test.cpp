#include "serial/port_names.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "other_user.h"
#include "serial/config_dir.h"
#include "serial/file_read.h"
#include "serial/serial_port.h"
#include "temp_dir.h"
#include "tests/admin/terminal/guarded_fifo.h"

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

// Read without blocking and up to its size limit: a port's open fails with
// the file's name and the cause instead of hanging or eating memory, and
// instead of opening the default device the user did not choose.
TEST(PortsConf, AFileThatCannotBeReadFailsTheLookupWithItsText) {
  TempDir dir;
  fs::permissions(dir.path(),
                  fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  const fs::path conf = dir.path() / "ports.conf";
  enum class Kind { Fifo, Device, Directory, TooLarge, Unreadable };
  const struct {
    Kind kind;
    std::string cause;
  } cases[] = {
      {Kind::Fifo, "is not a regular file (a FIFO)"},
      {Kind::Device, "is not a regular file (a character device)"},
      {Kind::Directory, "is not a regular file (a directory)"},
      {Kind::TooLarge, "larger than 1 MB"},
      // As root, read as nobody; as anyone else, his own file without read
      // permission.
      {Kind::Unreadable, "Permission denied"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cause);
    std::unique_ptr<admin::testing::GuardedFifo> fifo;
    if (c.kind == Kind::Fifo) fifo = std::make_unique<admin::testing::GuardedFifo>(conf.string());
    if (c.kind == Kind::Device) fs::create_symlink("/dev/zero", conf);
    if (c.kind == Kind::Directory) fs::create_directory(conf);
    if (c.kind == Kind::TooLarge) std::ofstream(conf) << std::string(kFileSizeLimit + 1, '#');
    if (c.kind == Kind::Unreadable) {
      std::ofstream(conf) << "COM1=/dev/ttyUSB0\n";
      ASSERT_EQ(::chmod(conf.c_str(), 0200), 0);
    }
    std::optional<test::OtherUser> other;
    if (c.kind == Kind::Unreadable) other.emplace();
    ASSERT_TRUE(!other || other->active());
    try {
      devicePathForCom(1, dir.path());
      ADD_FAILURE() << "the lookup went on";
    } catch (const SerialError& e) {
      EXPECT_EQ(e.what(), conf.string() + ": " + c.cause);
    }
    other.reset();
    fs::remove_all(conf);
  }
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
