#include "admin/diag/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orvane::admin {

namespace {

std::string lastCause() { return std::strerror(errno); }

const std::string kNotAFile = "is not a regular file";
const std::string kReadOnly = "is read-only";

// A file without any write permission is its owner's word that it stays as
// it is, also for root, who could write it.
bool readOnly(const struct stat& status) { return (status.st_mode & 0222) == 0; }

// Why the file could not be opened: its own permissions said so, or the
// system's cause.
std::string openCause(const std::filesystem::path& path) {
  const int error = errno;
  struct stat status {};
  if (error == EACCES && ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
      readOnly(status))
    return kReadOnly;
  return error == ENXIO ? kNotAFile : std::strerror(error);
}

}  // namespace

RecordFile::~RecordFile() { close(); }

std::string RecordFile::open(const std::filesystem::path& path) {
  close();
  // A device is never opened: opening a serial adapter alone raises its
  // modem lines.
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) return kNotAFile;
  // O_NONBLOCK: should a FIFO take the file's place meanwhile, it must not
  // hold the window; it is refused below.
  const int fd =
      ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return openCause(path);
  std::string cause;
  if (::fstat(fd, &status) != 0)
    cause = lastCause();
  else if (!S_ISREG(status.st_mode))
    cause = kNotAFile;
  else if (readOnly(status))
    cause = kReadOnly;
  if (!cause.empty()) {
    ::close(fd);
    return cause;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  fd_ = fd;
  return {};
}

void RecordFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

RecordFile::Content RecordFile::content(std::string_view header) const {
  std::string head(header.size() + 2, '\0');
  const ssize_t got = ::pread(fd_, head.data(), head.size(), 0);
  if (got == 0) return Content::Empty;
  head.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  const bool record = head.starts_with(header) && (head.substr(header.size()).starts_with("\r\n") ||
                                                   head.substr(header.size()).starts_with("\n"));
  return record ? Content::Record : Content::Other;
}

std::string RecordFile::replace() { return ::ftruncate(fd_, 0) == 0 ? std::string() : lastCause(); }

std::string RecordFile::append(std::string_view text) {
  struct stat status {};
  if (::fstat(fd_, &status) != 0) return lastCause();
  while (!text.empty()) {
    const ssize_t written = ::write(fd_, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      std::string cause = written < 0 ? lastCause() : std::string("nothing was written");
      if (::ftruncate(fd_, status.st_size) != 0) cause += "; its last row may be cut short";
      return cause;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

}  // namespace orvane::admin
