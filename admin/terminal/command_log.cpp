#include "admin/terminal/command_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

std::string lastCause() { return std::strerror(errno); }

}  // namespace

std::string CommandLog::create(const std::filesystem::path& path) {
  close();
  // Without O_NONBLOCK a FIFO chosen as the log would hold the terminal until
  // a reader came; with it such an open fails at once. A device or a FIFO
  // that does open is no log either.
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return errno == ENXIO ? std::string("is not a regular file") : lastCause();
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return "is not a regular file";
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  errno = 0;
  std::FILE* file = ::fdopen(fd, "wb");
  if (!file) {
    const std::string cause = errno != 0 ? lastCause() : std::string("cannot be created");
    ::close(fd);
    return cause;
  }
  file_.reset(file);
  return {};
}

void CommandLog::close() { file_.reset(); }

std::string CommandLog::writeLine(std::string_view command) {
  if (!file_) return {};
  std::string line(protocol::trimmed(command));
  line += "\r\n";
  errno = 0;
  if (std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size() ||
      std::fflush(file_.get()) != 0)
    return errno != 0 ? lastCause() : std::string("write failed");
  return {};
}

}  // namespace orvane::admin
