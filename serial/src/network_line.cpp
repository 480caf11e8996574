#include "network_line.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "poll_wait.h"
#include "serial/error_text.h"
#include "tcp_connect.h"

namespace orvane::serial {

namespace {

constexpr std::size_t kReceiveChunk = 4096;
// What available() and a purge take in at most, so that a server that never
// stops sending cannot hold them.
constexpr int kDrainBatches = 64;

}  // namespace

NetworkLine::NetworkLine(std::string url, const NetworkLineName& name)
    : name_(name), fd_(connectTcp(name)), device_(std::move(url)) {}

NetworkLine::~NetworkLine() { close(); }

void NetworkLine::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  input_.clear();
}

void NetworkLine::requireOpen() const {
  if (fd_ < 0) throw SerialError(device_ + ": the port is not open");
}

void NetworkLine::disconnected(std::string_view cause) const {
  throw DeviceDisconnected(device_ + ": " + std::string(cause) + ": device disconnected");
}

bool NetworkLine::receiveSome(Clock::time_point deadline) {
  const int events = pollUntil(fd_, POLLIN, deadline);
  if (events < 0) throw SerialError(device_ + ": read failed: " + errorText(errno));
  if (events == 0) return false;
  char buffer[kReceiveChunk];
  const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
  if (n == 0) disconnected("the server closed the connection");
  if (n < 0) {
    if (errno == EINTR || errno == EAGAIN) return true;
    disconnected(networkErrorText(errno));
  }
  received(std::string_view(buffer, static_cast<std::size_t>(n)));
  return true;
}

bool NetworkLine::receiveUntil(const std::function<bool()>& done, Clock::time_point deadline) {
  requireOpen();
  while (!done())
    if (!receiveSome(deadline)) return done();
  return true;
}

bool NetworkLine::waitReadable(std::chrono::milliseconds timeout) {
  return receiveUntil([this] { return !input_.empty(); }, Clock::now() + timeout);
}

std::optional<std::uint8_t> NetworkLine::readByte(std::chrono::milliseconds timeout) {
  if (!waitReadable(timeout)) return std::nullopt;
  const auto byte = static_cast<std::uint8_t>(input_.front());
  input_.pop_front();
  return byte;
}

std::size_t NetworkLine::available() {
  if (fd_ < 0) return 0;
  for (int batch = 0; batch < kDrainBatches && receiveSome(Clock::now()); ++batch) {
  }
  return input_.size();
}

void NetworkLine::discardInput() {
  if (fd_ < 0) return;
  try {
    available();
  } catch (const SerialError&) {
    // The connection is gone: the next read or write says so.
  }
  input_.clear();
}

bool NetworkLine::sendAll(std::string_view bytes, Clock::time_point deadline) {
  requireOpen();
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) disconnected(networkErrorText(errno));
    const int events = pollUntil(fd_, POLLOUT, deadline);
    if (events < 0) throw SerialError(device_ + ": write failed: " + errorText(errno));
    if (events == 0) return false;
  }
  return true;
}

void NetworkLine::sendQuietly(std::string_view bytes) {
  if (fd_ < 0) return;
  try {
    sendAll(bytes, Clock::now() + name_.timeout);
  } catch (const SerialError&) {
    // As in discardInput: the next read or write reports the lost connection.
  }
}

bool NetworkLine::write(std::string_view data, std::chrono::milliseconds timeout) {
  return sendAll(encode(data), Clock::now() + timeout);
}

void NetworkLine::requireSupportedRate(int baudRate) const {
  requireOpen();
  if (!baudRateSupported(baudRate))
    throw SerialError(device_ + ": baud rate " + std::to_string(baudRate) + " not supported");
}

void TcpLine::configure(int baudRate, Parity) { requireSupportedRate(baudRate); }

void TcpLine::received(std::string_view bytes) {
  input_.insert(input_.end(), bytes.begin(), bytes.end());
}

}  // namespace orvane::serial
