#include "serial/config_dir.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "serial/error_text.h"

namespace orvane::serial {

std::filesystem::path configDir() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg) return std::filesystem::path(xdg) / "orvane";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".config" / "orvane";
}

namespace {

namespace fs = std::filesystem;

[[noreturn]] void failWith(const fs::path& path, int error) {
  throw std::runtime_error(path.string() + ": " + errorText(error));
}

fs::path directoryOf(const fs::path& path) {
  return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

// Temporaries are ".<name>.tmp-XXXXXX" beside the file. Their writer holds an
// exclusive lock on each from its creation to the rename.
std::string temporaryPrefix(const fs::path& path) {
  return "." + path.filename().string() + ".tmp-";
}

// Temporaries of writers that were killed before their rename: nobody holds
// their lock any more. Without this every killed write would leave one more.
void removeLeftovers(const fs::path& path) {
  const std::string prefix = temporaryPrefix(path);
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(directoryOf(path), ec)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(prefix) || name.size() != prefix.size() + 6) continue;
    const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(entry.path().c_str());
    ::close(fd);
  }
}

bool sameFile(int fd, const std::string& name) {
  struct stat open {};
  struct stat named {};
  return ::fstat(fd, &open) == 0 && ::lstat(name.c_str(), &named) == 0 &&
         open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// A new temporary made by mkstemp (a name nobody could have planted a link
// at), locked. Another writer's clean-up may take it for a left-over between
// its creation and the lock: then it is made again.
int createTemporary(const fs::path& path, std::string& name) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    name = (directoryOf(path) / (temporaryPrefix(path) + "XXXXXX")).string();
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) failWith(path, errno);
    if (::flock(fd, LOCK_EX) == 0 && sameFile(fd, name)) return fd;
    ::close(fd);
  }
  failWith(path, EAGAIN);
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

// The mode of the file being replaced; rw-r--r-- for a new one.
mode_t modeFor(const fs::path& path) {
  struct stat old {};
  return ::stat(path.c_str(), &old) == 0 ? old.st_mode & 07777 : 0644;
}

// The rename itself is on disk only once the directory is.
void syncDirectory(const fs::path& path) {
  const int fd = ::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void writeFileAtomically(const std::filesystem::path& path, std::string_view content) {
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  removeLeftovers(path);
  std::string temp;
  const int fd = createTemporary(path, temp);
  // The lock is held until the rename is done: closing first would let a
  // clean-up take the finished temporary for a left-over.
  if (!writeAll(fd, content) || ::fchmod(fd, modeFor(path)) != 0 || ::fsync(fd) != 0 ||
      ::rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    ::close(fd);
    failWith(path, error);
  }
  ::close(fd);
  syncDirectory(path);
}

}  // namespace orvane::serial
