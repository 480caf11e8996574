// The monitor's record file: what it finds in a file it opens, appends that
// reach the file at once, and a directory or a missing one refused. (The
// window's tests refuse a FIFO, a device and a read-only file, and fill the
// disk.)
#include "admin/diag/record_file.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "tests/admin/core/read_file.h"

namespace orvane::admin {
namespace {

using testing::readFile;

constexpr std::string_view kHeader = "Time,Value";

class RecordFileTest : public ::testing::Test {
 protected:
  std::string path(const char* name) const { return dir_.filePath(name).toStdString(); }
  std::string written(const char* name, const std::string& content) const {
    std::ofstream(path(name), std::ios::binary) << content;
    return path(name);
  }

  QTemporaryDir dir_;
  RecordFile record_;
};

TEST_F(RecordFileTest, TellsARecordFromAnythingElseAndAppendsAtOnce) {
  struct Case {
    const char* content;
    RecordFile::Content found;
  };
  const std::vector<Case> cases{
      {"", RecordFile::Content::Empty},
      {"Time,Value\r\n", RecordFile::Content::Record},
      {"Time,Value\n1,2\n", RecordFile::Content::Record},
      {"Time,Value,More\r\n", RecordFile::Content::Other},
      {"Time,Valu", RecordFile::Content::Other},
      {"notes", RecordFile::Content::Other},
  };
  for (const Case& c : cases) {
    const std::string file = written("case.csv", c.content);
    ASSERT_EQ(record_.open(file), "") << c.content;
    EXPECT_EQ(record_.content(kHeader), c.found) << c.content;
    EXPECT_EQ(record_.append("1,2\r\n"), "");
    EXPECT_EQ(readFile(file), std::string(c.content) + "1,2\r\n")
        << "in the file before the record closes";
    record_.close();
  }
  ASSERT_EQ(record_.open(path("fresh.csv")), "");
  EXPECT_EQ(record_.content(kHeader), RecordFile::Content::Empty) << "created when missing";
  ASSERT_EQ(record_.append("Time,Value\r\n"), "");
  EXPECT_EQ(record_.content(kHeader), RecordFile::Content::Record);
  record_.close();

  const std::string other = written("other.csv", "somebody's notes\n");
  ASSERT_EQ(record_.open(other), "");
  EXPECT_EQ(record_.replace(), "");
  EXPECT_EQ(record_.content(kHeader), RecordFile::Content::Empty);
  EXPECT_EQ(record_.append("a\r\n"), "");
  EXPECT_EQ(readFile(other), "a\r\n");
  record_.close();

  EXPECT_EQ(record_.open(dir_.path().toStdString()), "is not a regular file");
  EXPECT_EQ(record_.open(path("missing/record.csv")), "No such file or directory");
  EXPECT_FALSE(record_.isOpen());
}

}  // namespace
}  // namespace orvane::admin
