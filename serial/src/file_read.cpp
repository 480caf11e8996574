#include "serial/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "file_kind.h"
#include "serial/error_text.h"

namespace orvane::serial {

namespace {

std::string sizeText(std::size_t limit) {
  if (limit % (1024 * 1024) == 0) return std::to_string(limit / (1024 * 1024)) + " MB";
  if (limit % 1024 == 0) return std::to_string(limit / 1024) + " KB";
  return std::to_string(limit) + " bytes";
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

std::optional<std::string> readFile(const std::filesystem::path& path, std::size_t limit,
                                    bool missingIsError) {
  const std::string name = path.string();
  // Without O_NONBLOCK the open of a FIFO would wait for a writer. The type
  // is checked on what was opened, so a file swapped in meanwhile counts.
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) {
    const int error = errno;
    if (error == ENOENT && !missingIsError) return std::nullopt;
    throw FileReadError(name + ": " + errorText(error));
  }
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0) throw FileReadError(name + ": " + errorText(errno));
  if (!S_ISREG(status.st_mode))
    throw FileReadError(name + ": is not a regular file (" + fileKindText(status.st_mode) + ")");
  std::string content;
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileReadError(name + ": " + errorText(errno));
    if (n == 0) break;
    // The size of a regular file can still grow while it is read.
    if (content.size() + static_cast<std::size_t>(n) > limit)
      throw FileReadError(name + ": larger than " + sizeText(limit));
    content.append(buffer, static_cast<std::size_t>(n));
  }
  return content;
}

}  // namespace

std::string readRegularFile(const std::filesystem::path& path, std::size_t limit) {
  return *readFile(path, limit, true);
}

std::optional<std::string> readRegularFileIfAny(const std::filesystem::path& path,
                                                std::size_t limit) {
  return readFile(path, limit, false);
}

}  // namespace orvane::serial
