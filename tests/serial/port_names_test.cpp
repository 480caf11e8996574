#include "serial/port_names.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "serial/config_dir.h"

namespace orvane::serial {
namespace {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/orvane-serial-test-XXXXXX";
    path_ = ::mkdtemp(pattern);
  }
  ~TempDir() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

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

TEST(WriteFileAtomically, ReplacesTheFileWholeAndLeavesNoTemporary) {
  TempDir dir;
  fs::path file = dir.path() / "sub" / "COM.CFG";
  writeFileAtomically(file, "100\r\n2\r\n");
  writeFileAtomically(file, "150\r\n3\r\nn,8,1\r\n");
  std::ifstream in(file, std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, "150\r\n3\r\nn,8,1\r\n");
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(file.parent_path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(WriteFileAtomically, APlantedLinkAtATemporaryNameRedirectsNothing) {
  TempDir dir;
  const fs::path victim = dir.path() / "victim";
  writeFileAtomically(victim, "precious");
  // The names a writer with a fixed temporary name would use.
  fs::create_symlink(victim, dir.path() / ("COM.CFG.tmp" + std::to_string(::getpid())));
  fs::create_symlink(victim, dir.path() / "COM.CFG.tmp");
  writeFileAtomically(dir.path() / "COM.CFG", "100\r\n");
  std::ifstream in(victim, std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, "precious");
}

TEST(WriteFileAtomically, LeftOversOfKilledWritersGoButALiveWritersTemporaryStays) {
  TempDir dir;
  const fs::path file = dir.path() / "admin.map";
  const fs::path leftOver = dir.path() / ".admin.map.tmp-Ab12Cd";
  const fs::path inUse = dir.path() / ".admin.map.tmp-Xy34Zw";
  std::ofstream(leftOver) << "half a map";
  std::ofstream(inUse) << "being written";
  const int fd = ::open(inUse.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  writeFileAtomically(file, "COMPORT: COM1\r\n");
  EXPECT_FALSE(fs::exists(leftOver));
  EXPECT_TRUE(fs::exists(inUse));
  ::close(fd);
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);
}

TEST(WriteFileAtomically, FailureThrowsAndKeepsTheOldFile) {
  TempDir dir;
  fs::path file = dir.path() / "COM.CFG";
  writeFileAtomically(file, "old");
  fs::create_directory(dir.path() / "blocked");
  EXPECT_THROW(writeFileAtomically(dir.path() / "blocked", "x"), std::runtime_error);
  std::ifstream in(file);
  std::string content;
  in >> content;
  EXPECT_EQ(content, "old");
}

}  // namespace
}  // namespace orvane::serial
