#include "serial/serial_port.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "poll_wait.h"
#include "serial/config_dir.h"
#include "serial/error_text.h"
#include "serial/permission_advice.h"

namespace orvane::serial {

namespace {

struct BaudEntry {
  int rate;
  speed_t speed;
};

constexpr BaudEntry kBauds[] = {
    {300, B300},   {600, B600},     {1200, B1200},   {2400, B2400},   {4800, B4800},
    {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
};

std::string permissionText(const std::string& device) {
  const auto access = deviceAccess(device);
  return access ? permissionCause(device, *access, currentUser()) : "permission denied";
}

std::string causeText(int error, const std::string& device) {
  switch (error) {
    case EACCES:
    case EPERM:
      return permissionText(device);
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return "no such device (is the adapter plugged in? see ports.conf)";
    case EBUSY:
    case EWOULDBLOCK:
      return "the port is in use by another program";
    case EIO:
      return "device disconnected";
    default:
      return errorText(error);
  }
}

// USB serial adapters hold received bytes back for their latency timer (16 ms
// by default) before handing them on, so every reply would arrive late. Low
// latency makes the driver hand each byte on at once. Drivers without the
// setting (a pseudo-terminal) refuse the request: the line works as it is.
void requestLowLatency(int fd) {
  serial_struct info{};
  if (::ioctl(fd, TIOCGSERIAL, &info) != 0 || (info.flags & ASYNC_LOW_LATENCY)) return;
  info.flags |= ASYNC_LOW_LATENCY;
  ::ioctl(fd, TIOCSSERIAL, &info);
}

}  // namespace

bool baudRateSupported(int baudRate) {
  for (const auto& b : kBauds)
    if (b.rate == baudRate) return true;
  return false;
}

SerialPort::~SerialPort() { close(); }

SerialPort::SerialPort(SerialPort&& other) noexcept
    : Line(std::move(other)),
      fd_(std::exchange(other.fd_, -1)),
      device_(std::move(other.device_)) {}

SerialPort& SerialPort::operator=(SerialPort&& other) noexcept {
  if (this != &other) {
    close();
    Line::operator=(std::move(other));
    fd_ = std::exchange(other.fd_, -1);
    device_ = std::move(other.device_);
  }
  return *this;
}

SerialPort SerialPort::open(const std::string& device) {
  int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    int error = errno;
    throw SerialError(device + ": cannot open: " + causeText(error, device));
  }
  // flock holds against every other program, root included; TIOCEXCL then
  // refuses further opens of the tty itself.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int error = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    throw SerialError(device + ": cannot open: " + causeText(error, device));
  }
  if (::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY && errno != EINVAL) {
    int error = errno;
    ::close(fd);
    throw SerialError(device + ": cannot claim the port: " + causeText(error, device));
  }
  if (!::isatty(fd)) {
    ::close(fd);
    throw SerialError(device + ": not a serial device");
  }
  requestLowLatency(fd);
  return SerialPort(fd, device);
}

void SerialPort::fail(std::string_view what, int error) const {
  std::string text = device_ + ": " + std::string(what) + ": " + causeText(error, device_);
  if (error == EIO) throw DeviceDisconnected(std::move(text));
  throw SerialError(std::move(text));
}

void SerialPort::doConfigure(int baudRate, Parity parity) {
  if (fd_ < 0) throw SerialError(device_ + ": the port is not open");
  speed_t speed = 0;
  bool found = false;
  for (const auto& b : kBauds)
    if (b.rate == baudRate) speed = b.speed, found = true;
  if (!found)
    throw SerialError(device_ + ": baud rate " + std::to_string(baudRate) + " not supported");
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0) fail("cannot read the line settings", errno);
  ::cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
  if (parity != Parity::None) {
    tio.c_cflag |= PARENB;
    if (parity == Parity::Odd) tio.c_cflag |= PARODD;
    tio.c_iflag |= INPCK;
  }
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0)
    fail("cannot set the baud rate", errno);
  if (::tcsetattr(fd_, TCSANOW, &tio) != 0) fail("cannot apply the line settings", errno);
}

void SerialPort::doPurge() {
  if (fd_ >= 0) ::tcflush(fd_, TCIOFLUSH);
}

void SerialPort::doPurgeInput() {
  if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}

bool SerialPort::doWrite(std::string_view data, std::chrono::milliseconds timeout) {
  if (fd_ < 0) throw SerialError(device_ + ": the port is not open");
  const auto deadline = Clock::now() + timeout;
  while (!data.empty()) {
    ssize_t n = ::write(fd_, data.data(), data.size());
    if (n > 0) {
      data.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) fail("write failed", errno);
    if (Clock::now() >= deadline) return false;
    int events = pollUntil(fd_, POLLOUT, deadline);
    if (events < 0) fail("write failed", errno);
    if (events & (POLLERR | POLLHUP)) fail("write failed", EIO);
  }
  return true;
}

bool SerialPort::waitReadable(std::chrono::milliseconds timeout) {
  if (fd_ < 0) throw SerialError(device_ + ": the port is not open");
  int events = pollUntil(fd_, POLLIN, Clock::now() + timeout);
  if (events < 0) fail("read failed", errno);
  if (events & POLLIN) return true;
  if (events & (POLLERR | POLLHUP | POLLNVAL)) fail("read failed", EIO);
  return false;
}

std::optional<std::uint8_t> SerialPort::doReadByte(std::chrono::milliseconds timeout) {
  if (!waitReadable(timeout)) return std::nullopt;
  for (;;) {
    std::uint8_t byte = 0;
    ssize_t n = ::read(fd_, &byte, 1);
    if (n == 1) return byte;
    if (n == 0) fail("read failed", EIO);  // readable but empty: the adapter is gone
    if (errno == EINTR) continue;
    if (errno == EAGAIN) return std::nullopt;
    fail("read failed", errno == ENXIO ? EIO : errno);
  }
}

bool SerialPort::hungUp() const {
  if (fd_ < 0) return false;
  pollfd p{fd_, 0, 0};  // a hang-up and an error are reported without asking
  return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

std::size_t SerialPort::available() {
  if (fd_ < 0) return 0;
  int count = 0;
  if (::ioctl(fd_, FIONREAD, &count) != 0) return 0;
  return count > 0 ? static_cast<std::size_t>(count) : 0;
}

void SerialPort::dropDtr() {
  if (fd_ < 0) return;
  int bits = TIOCM_DTR;
  // A pseudo-terminal has no modem lines: ENOTTY and EINVAL are expected there.
  ::ioctl(fd_, TIOCMBIC, &bits);
}

void SerialPort::close() {
  if (fd_ >= 0) {
    // The exclusive claim belongs to the tty, not to this descriptor: a
    // pseudo-terminal whose other side stays open (the simulator, a socat
    // bridge) would keep refusing every later open by a user other than root.
    ::ioctl(fd_, TIOCNXCL);
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
  }
}

}  // namespace orvane::serial
