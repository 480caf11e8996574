#include "tcp_connect.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <memory>

#include "poll_wait.h"
#include "serial/error_text.h"
#include "serial/line.h"

namespace orvane::serial {

namespace {

// Keep-alive while idle: the first probe after 10 s, three probes 5 s apart.
constexpr int kKeepIdleSeconds = 10;
constexpr int kKeepIntervalSeconds = 5;
constexpr int kKeepCount = 3;
// Data the server does not acknowledge for this long ends the connection.
constexpr unsigned kUnacknowledgedLimitMs = 20000;

// A system's message inside ours: "Connection reset by peer" reads
// "connection reset by peer" after a colon.
std::string inSentence(std::string text) {
  if (!text.empty()) text.front() = static_cast<char>(std::tolower(text.front()));
  return text;
}

std::string connectFailure(int error, const NetworkLineName& name) {
  return error == ETIMEDOUT ? "no answer within " + name.timeoutText() : networkErrorText(error);
}

std::string lookupFailure(int status) {
  if (status == EAI_NONAME || status == EAI_NODATA) return "unknown host";
  if (status == EAI_AGAIN) return "the name server did not answer";
  return inSentence(::gai_strerror(status));
}

void setOption(int fd, int level, int option, int value) {
  ::setsockopt(fd, level, option, &value, sizeof value);
}

void tuneConnection(int fd) {
  setOption(fd, IPPROTO_TCP, TCP_NODELAY, 1);
  setOption(fd, SOL_SOCKET, SO_KEEPALIVE, 1);
  setOption(fd, IPPROTO_TCP, TCP_KEEPIDLE, kKeepIdleSeconds);
  setOption(fd, IPPROTO_TCP, TCP_KEEPINTVL, kKeepIntervalSeconds);
  setOption(fd, IPPROTO_TCP, TCP_KEEPCNT, kKeepCount);
  setOption(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, static_cast<int>(kUnacknowledgedLimitMs));
}

// The connected socket, or -1 with the cause in `error`.
int connectOne(const addrinfo& address, Clock::time_point deadline, int& error) {
  const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = errno;
    return -1;
  }
  error = 0;
  if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
    error = errno;
    if (error == EINPROGRESS || error == EINTR) {
      const int events = pollUntil(fd, POLLOUT, deadline);
      socklen_t length = sizeof error;
      if (events < 0)
        error = errno;
      else if (events == 0)
        error = ETIMEDOUT;
      else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    }
  }
  if (error == 0) return fd;
  ::close(fd);
  return -1;
}

}  // namespace

std::string networkErrorText(int error) {
  switch (error) {
    case ECONNREFUSED:
      return "connection refused";
    case EHOSTUNREACH:
      return "host unreachable";
    case ENETUNREACH:
      return "network unreachable";
    default:
      return inSentence(errorText(error));
  }
}

int connectTcp(const NetworkLineName& name) {
  const std::string failure = "cannot connect to " + name.address() + ": ";
  const auto deadline = Clock::now() + name.timeout;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const int status =
      ::getaddrinfo(name.host.c_str(), std::to_string(name.port).c_str(), &hints, &found);
  if (status != 0) throw SerialError(failure + lookupFailure(status));
  const std::unique_ptr<addrinfo, void (*)(addrinfo*)> addresses(found, ::freeaddrinfo);
  int error = ETIMEDOUT;
  for (const addrinfo* address = found; address && Clock::now() < deadline;
       address = address->ai_next) {
    const int fd = connectOne(*address, deadline, error);
    if (fd < 0) continue;
    tuneConnection(fd);
    return fd;
  }
  throw SerialError(failure + connectFailure(error, name));
}

}  // namespace orvane::serial
