#include "network_line.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
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

constexpr std::size_t kLastWordsLength = 80;

// How long a close waits for the server to end the connection.
constexpr std::chrono::milliseconds kCloseWait{250};

}  // namespace

NetworkLine::NetworkLine(std::string url, const NetworkLineName& name)
    : name_(name), fd_(connectTcp(name)), device_(std::move(url)) {}

NetworkLine::~NetworkLine() { close(); }

// A device server frees its serial port only after the connection has
// ended on its side too: a program that opens the line again at once (to
// change the speed through orvio, to recover a lost line) would be turned
// away as "Port already in use". So the close tells the server and waits a
// little for its end of the connection.
void NetworkLine::close() {
  if (fd_ >= 0) {
    ::shutdown(fd_, SHUT_WR);
    awaitServerEnd(Clock::now() + std::min(name_.timeout, kCloseWait));
    ::close(fd_);
  }
  fd_ = -1;
  lostBy_ = 0;
  input_.clear();
}

void NetworkLine::awaitServerEnd(Clock::time_point deadline) {
  char buffer[kReceiveChunk];
  while (pollUntil(fd_, POLLIN, deadline) > 0) {
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) return;
  }
}

void NetworkLine::requireOpen() const {
  if (fd_ < 0) throw SerialError(device_ + ": the port is not open");
}

void NetworkLine::disconnected(const std::string& cause) const {
  throw DeviceDisconnected(device_ + ": " + cause + ": device disconnected");
}

// A server that turns a connection away says why before it closes it (ser2net:
// "Port already in use"): that text, quoted, in place of a reply.
std::string NetworkLine::lastWords() const {
  std::string text;
  for (char c : input_) {
    if (c == '\r' || c == '\n') {
      if (!text.empty() && text.back() != ' ') text += ' ';
    } else if (c >= ' ' && c <= '~' && text.size() < kLastWordsLength) {
      text += c;
    }
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text.empty() ? "" : " (\"" + text + "\")";
}

// A device server sends a confirmation and the reply that follows it as two
// small segments; with Nagle on its side the reply waits until we acknowledge
// the confirmation, which a delayed acknowledgement holds back for 40 ms. The
// kernel leaves quick acknowledgement again by itself, so it is asked for
// after every read.
void NetworkLine::acknowledgeAtOnce() {
  const int on = 1;
  ::setsockopt(fd_, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
}

NetworkLine::Receipt NetworkLine::receiveSome(Clock::time_point deadline) {
  const int events = pollUntil(fd_, POLLIN, deadline);
  if (events < 0) throw SerialError(device_ + ": read failed: " + errorText(errno));
  if (events == 0) return Receipt::Nothing;
  char buffer[kReceiveChunk];
  const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return Receipt::Bytes;
  if (n <= 0) {
    lostBy_ = n == 0 ? EPIPE : errno;
    return Receipt::Lost;
  }
  acknowledgeAtOnce();
  received(std::string_view(buffer, static_cast<std::size_t>(n)));
  return Receipt::Bytes;
}

void NetworkLine::takeWhatArrived() {
  for (int batch = 0; batch < kDrainBatches && receiveSome(Clock::now()) == Receipt::Bytes;
       ++batch) {
  }
}

void NetworkLine::lost() const {
  const bool closed = lostBy_ == EPIPE || lostBy_ == ECONNRESET;
  disconnected((closed ? "the server closed the connection" : networkErrorText(lostBy_)) +
               lastWords());
}

bool NetworkLine::receiveUntil(const std::function<bool()>& done, Clock::time_point deadline) {
  requireOpen();
  while (!done()) {
    const Receipt receipt = receiveSome(deadline);
    if (receipt == Receipt::Lost) lost();
    if (receipt == Receipt::Nothing) return done();
  }
  return true;
}

bool NetworkLine::waitReadable(std::chrono::milliseconds timeout) {
  return receiveUntil([this] { return !input_.empty(); }, Clock::now() + timeout);
}

std::optional<std::uint8_t> NetworkLine::doReadByte(std::chrono::milliseconds timeout) {
  if (!waitReadable(timeout)) return std::nullopt;
  const auto byte = static_cast<std::uint8_t>(input_.front());
  input_.pop_front();
  return byte;
}

bool NetworkLine::hungUp() const {
  if (fd_ < 0) return false;
  if (lostBy_ != 0) return true;
  pollfd p{fd_, POLLIN | POLLRDHUP, 0};
  if (::poll(&p, 1, 0) <= 0) return false;
  if ((p.revents & (POLLHUP | POLLRDHUP | POLLERR | POLLNVAL)) != 0) return true;
  // Readable with nothing to read: the end of the stream.
  char byte = 0;
  return (p.revents & POLLIN) != 0 && ::recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 0;
}

std::size_t NetworkLine::available() {
  if (fd_ < 0) return 0;
  takeWhatArrived();
  return input_.size();
}

// A lost connection is not reported here: the next read or write does.
void NetworkLine::discardInput() {
  if (fd_ < 0) return;
  takeWhatArrived();
  input_.clear();
}

NetworkLine::Sending NetworkLine::send(std::string_view bytes, Clock::time_point deadline) {
  requireOpen();
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      lostBy_ = errno;
      return Sending::Lost;
    }
    const int events = pollUntil(fd_, POLLOUT, deadline);
    if (events < 0) throw SerialError(device_ + ": write failed: " + errorText(errno));
    if (events == 0) return Sending::TimedOut;
  }
  return Sending::Done;
}

bool NetworkLine::sendAll(std::string_view bytes, Clock::time_point deadline) {
  const Sending sending = send(bytes, deadline);
  if (sending == Sending::Lost) {
    // What the server said before it closed the connection is still waiting
    // to be read.
    takeWhatArrived();
    lost();
  }
  return sending == Sending::Done;
}

void NetworkLine::sendQuietly(std::string_view bytes) {
  if (fd_ >= 0) send(bytes, Clock::now() + name_.timeout);
}

bool NetworkLine::doWrite(std::string_view data, std::chrono::milliseconds timeout) {
  return sendAll(encode(data), Clock::now() + timeout);
}

void NetworkLine::requireSupportedRate(int baudRate) const {
  requireOpen();
  if (!baudRateSupported(baudRate))
    throw SerialError(device_ + ": baud rate " + std::to_string(baudRate) + " not supported");
}

void TcpLine::doConfigure(int baudRate, Parity) { requireSupportedRate(baudRate); }

void TcpLine::received(std::string_view bytes) {
  input_.insert(input_.end(), bytes.begin(), bytes.end());
}

}  // namespace orvane::serial
