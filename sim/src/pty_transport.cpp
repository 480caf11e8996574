#include "pty_transport.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace orvane::sim {
namespace {

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error("pseudo-terminal: " + what + ": " + std::strerror(errno));
}

// The line starts as a fresh serial port would: raw, 9600 bps, 8N1.
void makeRaw(int fd) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) fail("tcgetattr");
  cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  cfsetispeed(&tio, B9600);
  cfsetospeed(&tio, B9600);
  if (tcsetattr(fd, TCSANOW, &tio) != 0) fail("tcsetattr");
}

}  // namespace

int baudRateOfSpeed(unsigned speed) {
  switch (speed) {
    case B50:
      return 50;
    case B300:
      return 300;
    case B600:
      return 600;
    case B1200:
      return 1200;
    case B2400:
      return 2400;
    case B4800:
      return 4800;
    case B9600:
      return 9600;
    case B19200:
      return 19200;
    case B38400:
      return 38400;
    case B57600:
      return 57600;
    case B115200:
      return 115200;
    case B230400:
      return 230400;
    default:
      return 0;
  }
}

PtyTransport::PtyTransport() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) fail("posix_openpt");
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
    const int saved = errno;
    ::close(master_);
    errno = saved;
    fail("grantpt/unlockpt");
  }
  char name[128] = {};
  if (ptsname_r(master_, name, sizeof name) != 0) {
    ::close(master_);
    fail("ptsname");
  }
  slavePath_ = name;
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) {
    const int saved = errno;
    ::close(master_);
    errno = saved;
    fail("open " + slavePath_);
  }
  try {
    makeRaw(slave_);
  } catch (...) {
    ::close(slave_);
    ::close(master_);
    throw;
  }
  const int flags = fcntl(master_, F_GETFL);
  fcntl(master_, F_SETFL, flags | O_NONBLOCK);
}

PtyTransport::~PtyTransport() {
  ::close(slave_);
  ::close(master_);
}

LineSettings PtyTransport::lineSettings() const {
  termios tio{};
  if (tcgetattr(slave_, &tio) != 0) return {};
  LineSettings line;
  line.baudRate = baudRateOfSpeed(cfgetospeed(&tio));
  line.eightBitsNoParity = (tio.c_cflag & CSIZE) == CS8 && (tio.c_cflag & PARENB) == 0;
  if (tio.c_cflag & PARENB) line.parity = (tio.c_cflag & PARODD) ? 1 : 2;
  return line;
}

std::string PtyTransport::readAvailable() {
  std::string bytes;
  char buffer[512];
  for (;;) {
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n > 0) {
      bytes.append(buffer, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return bytes;  // EAGAIN, or EIO while no slave is open (cannot happen: we hold one)
  }
}

void PtyTransport::write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(master_, bytes.data(), bytes.size());
    if (n > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EAGAIN) {
      // Nobody drains the slave: give up rather than hang the line's thread.
      pollfd p{master_, POLLOUT, 0};
      if (::poll(&p, 1, 100) <= 0) return;
    } else if (n < 0 && errno != EINTR) {
      return;  // the line is gone; a real module would talk into the void too
    }
  }
}

bool PtyTransport::unread() const {
  // A poll of the slave first moves what the kernel still holds in flight
  // into the slave's input queue.
  pollfd p{slave_, POLLIN, 0};
  return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;
}

}  // namespace orvane::sim
