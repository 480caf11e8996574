#include "admin/terminal/batch_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace orvane::admin {

BatchFile::~BatchFile() { close(); }

bool BatchFile::open(const std::filesystem::path& path) {
  close();
  // Without O_NONBLOCK the open of a FIFO would wait for a writer; the type
  // is checked on what was opened, so a file swapped in meanwhile counts.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void BatchFile::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  next_ = filled_ = 0;
}

int BatchFile::peek() {
  if (next_ == filled_ && fd_ >= 0) {
    ssize_t n;
    do {
      n = ::read(fd_, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    next_ = 0;
    filled_ = n > 0 ? static_cast<std::size_t>(n) : 0;
  }
  return next_ < filled_ ? static_cast<unsigned char>(buffer_[next_]) : -1;
}

int BatchFile::get() {
  const int c = peek();
  if (c >= 0) ++next_;
  return c;
}

bool BatchFile::atEnd() { return peek() < 0; }

std::string BatchFile::readLine() {
  // One character beyond the limit is kept, so that a line of exactly the
  // limit still loses its CR.
  std::string line;
  std::size_t length = 0;
  int c;
  while ((c = get()) >= 0 && c != '\n') {
    if (line.size() <= kMaxLineLength) line += static_cast<char>(c);
    ++length;
  }
  if (length == line.size() && !line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > kMaxLineLength) line.resize(kMaxLineLength);
  return line;
}

void BatchFile::rewind() {
  if (fd_ < 0) return;
  ::lseek(fd_, 0, SEEK_SET);
  next_ = filled_ = 0;
}

void BatchFile::skipLines(int n) {
  for (int i = 0; i < n && !atEnd(); ++i) readLine();
}

std::vector<std::string> BatchFile::readToEnd() {
  std::vector<std::string> lines;
  while (!atEnd()) lines.push_back(readLine());
  return lines;
}

}  // namespace orvane::admin
