// Files the user keeps are replaced whole, through links to the file they
// name; a file the user may not write stays as it is, and the clean-up takes
// only what killed writers of the same user left.
#include "serial/file_write.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "other_user.h"
#include "temp_dir.h"
#include "tests/admin/terminal/guarded_fifo.h"

namespace orvane::serial {
namespace {

namespace fs = std::filesystem;
using test::OtherUser;
using test::runningAsRoot;
using test::TempDir;

constexpr uid_t kAnotherUser = 65534;

std::string contentOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const fs::path& file, const std::string& content) {
  std::ofstream(file, std::ios::binary) << content;
}

struct stat statusOf(const fs::path& path) {
  struct stat status {};
  ::lstat(path.c_str(), &status);
  return status;
}

std::vector<std::string> hiddenNames(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().filename().string().starts_with(".")) names.push_back(entry.path().filename());
  return names;
}

std::string failureOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const FileWriteError& e) {
    return e.what();
  }
  return "no failure";
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

TEST(WriteFileAtomically, WritesThroughLinksToTheFileTheyName) {
  TempDir dir;
  const fs::path links = dir.path() / "links";
  const fs::path files = dir.path() / "files";
  fs::create_directories(links);
  fs::create_directories(files);
  put(files / "COM.CFG", "old");
  put(files / "admin.map", "old");
  fs::create_symlink(files / "COM.CFG", links / "COM.CFG");
  fs::create_symlink("../files/admin.map", links / "step");
  fs::create_symlink("step", links / "admin.map");
  fs::create_symlink("../files/new.map", links / "new.map");
  const struct {
    fs::path link;
    fs::path target;
  } cases[] = {
      {links / "COM.CFG", files / "COM.CFG"},      // an absolute link
      {links / "admin.map", files / "admin.map"},  // two relative ones in a row
      {links / "new.map", files / "new.map"},      // a dangling one: its file is made
  };
  // The temporaries go beside the files: a user who is not root could not
  // make them beside the links.
  fs::permissions(links, fs::perms::owner_read | fs::perms::owner_exec);
  for (const auto& c : cases) {
    writeFileAtomically(c.link, "new " + c.link.filename().string());
    EXPECT_EQ(contentOf(c.target), "new " + c.link.filename().string()) << c.link;
    EXPECT_TRUE(fs::is_symlink(c.link)) << c.link << " is still a link";
  }
  fs::permissions(links, fs::perms::owner_all);
  EXPECT_TRUE(hiddenNames(links).empty());
  EXPECT_TRUE(hiddenNames(files).empty());

  fs::create_symlink("loop-b", links / "loop-a");
  fs::create_symlink("loop-a", links / "loop-b");
  EXPECT_NE(failureOf([&] {
              writeFileAtomically(links / "loop-a", "x");
            }).find("Too many levels of symbolic links"),
            std::string::npos);
  EXPECT_TRUE(fs::is_symlink(links / "loop-a"));
}

TEST(WriteFileAtomically, LeavesAFileTheUserMayNotWriteAloneAndSaysWhy) {
  TempDir dir;
  fs::permissions(dir.path(),
                  fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  const struct {
    std::string name;
    mode_t fileMode;
    mode_t dirMode;
    bool fifo;
    bool asOtherUser;
    std::string cause;
  } cases[] = {
      // A read-only file stays, also for root, who could write it.
      {"read-only", 0444, 0755, false, false, "is read-only; left as it is"},
      {"fifo", 0644, 0755, true, false, "is not a regular file; left as it is"},
      // Another user's file; for a user who is not root, his own file whose
      // owner bits forbid writing it stands in for it.
      {"others", runningAsRoot() ? 0644u : 0464u, 0777, false, true,
       "may not be written by this user; left as it is"},
      {"directory", 0666, 0555, false, true, "cannot be written in "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path sub = dir.path() / c.name;
    const fs::path file = sub / "admin.map";
    fs::create_directory(sub);
    std::unique_ptr<admin::testing::GuardedFifo> fifo;
    if (c.fifo)
      fifo = std::make_unique<admin::testing::GuardedFifo>(file.string());
    else
      put(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), c.fileMode), 0);
    ASSERT_EQ(::chmod(sub.c_str(), c.dirMode), 0);
    std::string failure;
    if (c.asOtherUser) {
      OtherUser other;
      ASSERT_TRUE(other.active()) << "root could not take another user's rights";
      failure = failureOf([&] { writeFileAtomically(file, "new"); });
    } else {
      failure = failureOf([&] { writeFileAtomically(file, "new"); });
    }
    EXPECT_EQ(failure.rfind(file.string() + ": " + c.cause, 0), 0u) << failure;
    EXPECT_EQ(statusOf(file).st_mode & 07777, c.fileMode);
    if (!c.fifo) {
      EXPECT_EQ(contentOf(file), "old");
    }
    ASSERT_EQ(::chmod(sub.c_str(), 0755), 0);
    EXPECT_TRUE(hiddenNames(sub).empty());
  }
}

TEST(WriteFileAtomically, KeepsTheModeAndOwnerOfTheFileItReplaces) {
  TempDir dir;
  const fs::path own = dir.path() / "COM.CFG";
  put(own, "old");
  ASSERT_EQ(::chmod(own.c_str(), 0600), 0);
  writeFileAtomically(own, "new");
  EXPECT_EQ(statusOf(own).st_mode & 07777, 0600u);
  EXPECT_EQ(statusOf(own).st_uid, ::geteuid());

  // Only root can make a file of another user; as any other user this part
  // is left out.
  if (!runningAsRoot()) return;
  const fs::path users = dir.path() / "admin.map";
  put(users, "old");
  ASSERT_EQ(::chown(users.c_str(), kAnotherUser, kAnotherUser), 0);
  ASSERT_EQ(::chmod(users.c_str(), 0640), 0);
  writeFileAtomically(users, "new");
  EXPECT_EQ(contentOf(users), "new");
  EXPECT_EQ(statusOf(users).st_uid, kAnotherUser) << "root replacing it leaves it the user's";
  EXPECT_EQ(statusOf(users).st_gid, kAnotherUser);
  EXPECT_EQ(statusOf(users).st_mode & 07777, 0640u);
}

TEST(WriteFileAtomically, TheCleanUpTakesNothingButTheLeftOversOfThisUsersWriters) {
  TempDir dir;
  const fs::path file = dir.path() / "admin.map";
  put(dir.path() / "kept.map", "the user's");
  const admin::testing::GuardedFifo fifo((dir.path() / ".admin.map.tmp-Uv12Wx").string());
  const struct {
    std::string name;
    std::function<void(const fs::path&)> make;
    bool goes;
  } cases[] = {
      {".admin.map.tmp-Ab12Cd", [](const fs::path& p) { put(p, "half a map"); }, true},
      {".admin.map.tmp-Ef34Gh",
       [&](const fs::path& p) { fs::create_hard_link(dir.path() / "kept.map", p); }, false},
      {".admin.map.tmp-Ij56Kl", [](const fs::path& p) { fs::create_directory(p); }, false},
      {".admin.map.tmp-Uv12Wx", [](const fs::path&) {}, false},  // the FIFO
      {".admin.map.tmp-ab_12c", [](const fs::path& p) { put(p, "not mkstemp's letters"); }, false},
      {".admin.map.tmp-backup1", [](const fs::path& p) { put(p, "one letter more"); }, false},
      {".COM.CFG.tmp-Mn78Op", [](const fs::path& p) { put(p, "another file's"); }, false},
      // Another user's: only root can make one; as any other user it is his
      // own left-over and goes.
      {".admin.map.tmp-Qr90St",
       [](const fs::path& p) {
         put(p, "another user's");
         if (runningAsRoot()) {
           EXPECT_EQ(::chown(p.c_str(), kAnotherUser, kAnotherUser), 0);
         }
       },
       !runningAsRoot()},
  };
  for (const auto& c : cases) c.make(dir.path() / c.name);
  writeFileAtomically(file, "COMPORT: COM1\r\n");
  for (const auto& c : cases) EXPECT_EQ(fs::exists(dir.path() / c.name), !c.goes) << c.name;
  EXPECT_EQ(contentOf(dir.path() / "kept.map"), "the user's");
}

}  // namespace
}  // namespace orvane::serial
