#include "serial/file_write.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "serial/error_text.h"

namespace orvane::serial {

namespace {

namespace fs = std::filesystem;

// As many links as the kernel follows in one path before it gives up.
constexpr int kMostLinks = 40;
constexpr std::size_t kRandomLength = 6;  // mkstemp's XXXXXX

[[noreturn]] void failWith(const fs::path& path, const std::string& cause) {
  throw FileWriteError(path.string() + ": " + cause);
}

[[noreturn]] void failWith(const fs::path& path, int error) { failWith(path, errorText(error)); }

fs::path directoryOf(const fs::path& path) {
  return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

// The file a chain of symbolic links ends at: replacing the link itself would
// turn it into a file of its own and leave the file it names as it was.
fs::path finalTarget(fs::path path) {
  for (int link = 0; link < kMostLinks; ++link) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
      if (errno == ENOENT) return path;
      failWith(path, errno);
    }
    if (!S_ISLNK(status.st_mode)) return path;
    std::error_code ec;
    const fs::path next = fs::read_symlink(path, ec);
    if (ec) failWith(path, ec.value());
    path = next.is_absolute() ? next : directoryOf(path) / next;
  }
  failWith(path, ELOOP);
}

bool userMayAccess(const fs::path& path, int mode) {
  return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
}

void checkReplaceable(const fs::path& target) {
  struct stat status {};
  if (::stat(target.c_str(), &status) == 0) {
    if (!S_ISREG(status.st_mode)) failWith(target, "is not a regular file; left as it is");
    // Root passes every access check: the mode itself says what its owner wants.
    if ((status.st_mode & 0222) == 0) failWith(target, "is read-only; left as it is");
    if (!userMayAccess(target, W_OK))
      failWith(target, "may not be written by this user; left as it is");
  } else if (errno != ENOENT) {
    failWith(target, errno);
  }
  const fs::path directory = directoryOf(target);
  if (!userMayAccess(directory, W_OK | X_OK)) {
    const int error = errno;
    failWith(target, "cannot be written in " + directory.string() + ": " + errorText(error));
  }
}

// Temporaries are ".<name>.tmp-XXXXXX" beside the file. Their writer holds an
// exclusive lock on each from its creation to the rename.
std::string temporaryPrefix(const fs::path& path) {
  return "." + path.filename().string() + ".tmp-";
}

bool isTemporaryName(const std::string& name, const std::string& prefix) {
  if (!name.starts_with(prefix) || name.size() != prefix.size() + kRandomLength) return false;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

bool sameFile(int fd, const std::string& name) {
  struct stat open {};
  struct stat named {};
  return ::fstat(fd, &open) == 0 && ::lstat(name.c_str(), &named) == 0 &&
         open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// What a killed writer of this user leaves: a regular file of the user's own
// under a temporary's name, with no other name, that no writer holds locked.
// Another user's file, or one the user also keeps under another name, stays.
bool isLeftover(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
         status.st_nlink == 1 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

// Without this every killed write would leave one more temporary.
void removeLeftovers(const fs::path& target) {
  const std::string prefix = temporaryPrefix(target);
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(directoryOf(target), ec)) {
    const std::string name = entry.path().string();
    if (!isTemporaryName(entry.path().filename().string(), prefix)) continue;
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    if (isLeftover(fd) && sameFile(fd, name)) ::unlink(name.c_str());
    ::close(fd);
  }
}

// A new temporary made by mkstemp (a name nobody could have planted a link
// at), locked. Another writer's clean-up may take it for a left-over between
// its creation and the lock: then it is made again.
int createTemporary(const fs::path& target, std::string& name) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    name = (directoryOf(target) / (temporaryPrefix(target) + "XXXXXX")).string();
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) failWith(target, errno);
    if (::flock(fd, LOCK_EX) == 0 && sameFile(fd, name)) return fd;
    ::close(fd);
  }
  failWith(target, EAGAIN);
}

bool writeAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t n = ::write(fd, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    content.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The mode of the file replaced (rw-r--r-- for a new one), and its owner and
// group where the user may give them: root replacing a user's file leaves it
// the user's. Otherwise it becomes the writer's, as after any save by rename.
bool takeOverAttributes(int fd, const fs::path& target) {
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0) return ::fchmod(fd, 0644) == 0;
  if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
      ::fchown(fd, old.st_uid, old.st_gid) != 0)
    static_cast<void>(::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0);
  // After fchown, which clears the set-user-ID and set-group-ID bits.
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// The rename itself is on disk only once the directory is.
void syncDirectory(const fs::path& target) {
  const int fd = ::open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void writeFileAtomically(const std::filesystem::path& path, std::string_view content) {
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  const fs::path target = finalTarget(path);
  checkReplaceable(target);
  removeLeftovers(target);
  std::string temp;
  const int fd = createTemporary(target, temp);
  // The lock is held until the rename is done: closing first would let a
  // clean-up take the finished temporary for a left-over.
  if (!writeAll(fd, content) || !takeOverAttributes(fd, target) || ::fsync(fd) != 0 ||
      ::rename(temp.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    ::close(fd);
    failWith(target, error);
  }
  ::close(fd);
  syncDirectory(target);
}

}  // namespace orvane::serial
