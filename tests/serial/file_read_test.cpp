// Files given by name are read only when they are regular files of a sane
// size: a FIFO, a device or a directory is a clear error, never a hang.
#include "serial/file_read.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace orvane::serial {
namespace {

namespace fs = std::filesystem;

class FileReadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) / ("orvane-file-read-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path write(const std::string& name, const std::string& content) {
    std::ofstream(dir_ / name, std::ios::binary) << content;
    return dir_ / name;
  }
  fs::path dir_;
};

TEST_F(FileReadTest, ReadsRegularFilesAndLinksToThem) {
  const auto file = write("COM.CFG", "100\r\n1\r\n");
  fs::create_symlink(file, dir_ / "link");
  EXPECT_EQ(readRegularFile(file), "100\r\n1\r\n");
  EXPECT_EQ(readRegularFile(dir_ / "link"), "100\r\n1\r\n");
  EXPECT_EQ(readRegularFileIfAny(dir_ / "missing"), std::nullopt);
}

TEST_F(FileReadTest, RefusesWhatIsNoRegularFileOrTooLarge) {
  ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  write("big", std::string(2000, 'x'));
  const struct {
    fs::path path;
    std::string cause;
  } cases[] = {
      {dir_ / "fifo", "is not a regular file (a FIFO)"},
      {"/dev/zero", "is not a regular file (a character device)"},
      {dir_, "is not a regular file (a directory)"},
      {dir_ / "big", "larger than 1 KB"},
      {dir_ / "missing", "No such file or directory"},
  };
  for (const auto& c : cases) {
    try {
      readRegularFile(c.path, 1024);
      ADD_FAILURE() << c.path << " was read";
    } catch (const FileReadError& e) {
      EXPECT_EQ(std::string(e.what()), c.path.string() + ": " + c.cause);
    }
  }
}

}  // namespace
}  // namespace orvane::serial
