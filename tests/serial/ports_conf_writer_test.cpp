#include "serial/ports_conf_writer.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "serial/port_names.h"
#include "tests/admin/terminal/guarded_fifo.h"

namespace orvane::serial {
namespace {

namespace fs = std::filesystem;

const char* const kHandWritten =
    "# Orvane ports of the test bench\n"
    "\n"
    "COM1=/dev/ttyS0\n"
    "# the RS-485 adapter\n"
    "  com2 = /dev/ttyUSB0  \n"
    "COM12=/dev/serial/by-id/usb-FTDI_far_away\n"
    "COM5\n"
    "not a line of ours\n"
    "COM3=/dev/ttyUSB1\n";

TEST(RewritePortsConf, ReplacesLinesInPlaceAndKeepsEverythingElse) {
  const std::string result = rewritePortsConf(
      kHandWritten, {{1, "/dev/ttyUSB3"}, {2, "/dev/ttyUSB0"}, {3, ""}, {4, "/tmp/sim/line"}});
  EXPECT_EQ(result,
            "# Orvane ports of the test bench\n"
            "\n"
            "COM1=/dev/ttyUSB3\n"
            "# the RS-485 adapter\n"
            "  com2 = /dev/ttyUSB0  \n"
            "COM12=/dev/serial/by-id/usb-FTDI_far_away\n"
            "COM5\n"
            "not a line of ours\n"
            "COM4=/tmp/sim/line\n")
      << "COM2 kept byte for byte (same path), COM3 cleared, COM4 appended, COM12 and the "
         "lines that do not parse untouched";
}

TEST(RewritePortsConf, ComNumbersNotAskedAboutAreLeftAlone) {
  EXPECT_EQ(rewritePortsConf(kHandWritten, {}), kHandWritten);
  EXPECT_EQ(rewritePortsConf(kHandWritten, {{12, "/dev/ttyACM0"}}),
            std::string(kHandWritten)
                .replace(std::string(kHandWritten).find("COM12"), 41, "COM12=/dev/ttyACM0"));
}

TEST(RewritePortsConf, NewLinesAreAppendedInNumberOrderWithTheFilesLineEnd) {
  EXPECT_EQ(rewritePortsConf("", {{8, "/dev/b"}, {2, "/dev/a"}, {3, ""}}),
            "COM2=/dev/a\nCOM8=/dev/b\n");
  EXPECT_EQ(rewritePortsConf("# bench\r\nCOM1=/dev/x\r\n", {{1, "/dev/y"}, {2, "/dev/z"}}),
            "# bench\r\nCOM1=/dev/y\r\nCOM2=/dev/z\r\n");
  EXPECT_EQ(rewritePortsConf("# no line end at the end", {{1, "/dev/x"}}),
            "# no line end at the end\nCOM1=/dev/x\n");
  EXPECT_EQ(rewritePortsConf("COM1=/dev/old", {{1, "/dev/new"}}), "COM1=/dev/new")
      << "the last line keeps having no line end";
}

TEST(RewritePortsConf, OfRepeatedLinesTheOneThatCountedIsReplacedAndTheOthersGo) {
  const char* twice = "COM1=/dev/first\n# between\nCOM01=/dev/second\n";
  EXPECT_EQ(rewritePortsConf(twice, {{1, "/dev/third"}}), "# between\nCOM1=/dev/third\n");
  EXPECT_EQ(rewritePortsConf(twice, {{1, ""}}), "# between\n")
      << "clearing must not bring the earlier line back into effect";
  EXPECT_EQ(rewritePortsConf(twice, {{1, "/dev/second"}}), "# between\nCOM01=/dev/second\n");
}

TEST(RewritePortsConf, WhatItWritesReadsBackAsTheDevicesAsked) {
  const std::map<int, std::string> devices{
      {1, "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"},
      {2, ""},
      {7, "/tmp/orvane demo/COM7"},
      {8, "/dev/ttyACM0"}};
  auto expected = parsePortsConf(kHandWritten);
  for (const auto& [com, path] : devices)
    path.empty() ? void(expected.erase(com)) : void(expected[com] = path);
  EXPECT_EQ(parsePortsConf(rewritePortsConf(kHandWritten, devices)), expected);
}

TEST(RewritePortsConf, RefusesPathsThatWouldNotReadBack) {
  EXPECT_THROW(rewritePortsConf("", {{1, "/dev/a\nCOM2=/dev/b"}}), std::invalid_argument);
  EXPECT_THROW(rewritePortsConf("", {{1, "/dev/a\r"}}), std::invalid_argument);
  EXPECT_THROW(rewritePortsConf("", {{1, " /dev/a"}}), std::invalid_argument);
  EXPECT_THROW(rewritePortsConf("", {{1, "/dev/a "}}), std::invalid_argument);
}

class UpdatePortsConf : public ::testing::Test {
 protected:
  UpdatePortsConf() {
    char pattern[] = "/tmp/orvane-ports-conf-XXXXXX";
    dir_ = ::mkdtemp(pattern);
  }
  ~UpdatePortsConf() override { fs::remove_all(dir_); }
  std::string content() const {
    std::ifstream in(dir_ / "ports.conf", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  fs::path dir_;
};

TEST_F(UpdatePortsConf, WritesTheChangeAndTheLineUsesIt) {
  std::ofstream(dir_ / "ports.conf") << kHandWritten;
  EXPECT_TRUE(updatePortsConf(dir_, {{3, "/dev/ttyACM0"}, {1, ""}}));
  EXPECT_EQ(devicePathForCom(3, dir_), "/dev/ttyACM0");
  EXPECT_EQ(devicePathForCom(1, dir_), "/dev/ttyS0") << "back to the default";
  EXPECT_EQ(devicePathForCom(12, dir_), "/dev/serial/by-id/usb-FTDI_far_away");
  EXPECT_NE(content().find("# the RS-485 adapter\n"), std::string::npos);
}

TEST_F(UpdatePortsConf, NoChangeWritesNothing) {
  std::ofstream(dir_ / "ports.conf") << kHandWritten;
  ASSERT_EQ(::chmod((dir_ / "ports.conf").c_str(), 0640), 0);
  struct stat before {};
  ASSERT_EQ(::stat((dir_ / "ports.conf").c_str(), &before), 0);
  EXPECT_FALSE(updatePortsConf(dir_, {{2, "/dev/ttyUSB0"}, {4, ""}}));
  struct stat after {};
  ASSERT_EQ(::stat((dir_ / "ports.conf").c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino) << "not replaced";
  EXPECT_EQ(content(), kHandWritten);

  EXPECT_FALSE(updatePortsConf(dir_ / "new", {{1, ""}}));
  EXPECT_FALSE(fs::exists(dir_ / "new" / "ports.conf")) << "no file made for nothing";
}

TEST_F(UpdatePortsConf, CreatesTheFileAndKeepsTheModeOfAnOldOne) {
  EXPECT_TRUE(updatePortsConf(dir_ / "fresh", {{1, "/dev/ttyUSB0"}}));
  std::ifstream in(dir_ / "fresh" / "ports.conf");
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "COM1=/dev/ttyUSB0");

  std::ofstream(dir_ / "ports.conf") << "COM1=/dev/a\n";
  ASSERT_EQ(::chmod((dir_ / "ports.conf").c_str(), 0600), 0);
  EXPECT_TRUE(updatePortsConf(dir_, {{1, "/dev/b"}}));
  EXPECT_EQ(fs::status(dir_ / "ports.conf").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(UpdatePortsConf, WritesThroughALinkAndLeavesAFifoOrAReadOnlyFileAlone) {
  fs::create_directory(dir_ / "kept");
  std::ofstream(dir_ / "kept" / "ports.conf") << "# mine\nCOM1=/dev/a\n";
  fs::create_symlink("kept/ports.conf", dir_ / "ports.conf");
  EXPECT_TRUE(updatePortsConf(dir_, {{1, "/dev/b"}}));
  EXPECT_TRUE(fs::is_symlink(dir_ / "ports.conf"));
  EXPECT_EQ(content(), "# mine\nCOM1=/dev/b\n");

  ASSERT_EQ(::chmod((dir_ / "kept" / "ports.conf").c_str(), 0444), 0);
  EXPECT_THROW(updatePortsConf(dir_, {{1, "/dev/c"}}), std::runtime_error);
  EXPECT_EQ(content(), "# mine\nCOM1=/dev/b\n");

  fs::remove(dir_ / "ports.conf");
  const admin::testing::GuardedFifo fifo((dir_ / "ports.conf").string());
  try {
    updatePortsConf(dir_, {{1, "/dev/ttyUSB0"}});
    ADD_FAILURE() << "a FIFO was taken for ports.conf";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(e.what(), (dir_ / "ports.conf").string() + ": is not a regular file (a FIFO)");
  }
  EXPECT_TRUE(fs::is_fifo(dir_ / "ports.conf"));
}

TEST_F(UpdatePortsConf, AFileThatCannotBeReadIsNotOverwritten) {
  fs::create_directory(dir_ / "ports.conf");
  EXPECT_THROW(updatePortsConf(dir_, {{1, "/dev/ttyUSB0"}}), std::runtime_error);
  EXPECT_TRUE(fs::is_directory(dir_ / "ports.conf"));
}

}  // namespace
}  // namespace orvane::serial
