// orvio_bench: how fast OV_ReadAI runs against the simulator on a pty.
//
// (a) With wire-time emulation at 9600 and 115200 bps, as a fraction of the
//     rate the line itself allows (10 bit times per character, command and
//     reply back to back).
// (b) Without it, as time per transaction next to a bare termios write/read
//     loop doing the same exchange against the same simulator (P1, the
//     library's round trip).
// (c) The same without wire time with the line trace on, written to a file,
//     next to (b), where the trace is off.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "orvio.h"
#include "sim/network.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint16_t kPort = 1;
constexpr uint16_t kAddress = 1;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

[[noreturn]] void die(const std::string& what) {
  std::fprintf(stderr, "orvio_bench: %s\n", what.c_str());
  std::exit(1);
}

// Seconds per OV_ReadAI over n transactions.
double timeReadAI(const std::string& path, uint16_t baudCode, int n) {
  OV_SetPortName(kPort, path.c_str());
  OV_TimeOut(kPort, 1000);
  if (OV_InitialComm(kPort, baudCode, 8, OV_PARITY_NONE, 0) != OV_SUCCESS)
    die("cannot open " + path);
  char value[30];
  if (OV_ReadAI(kPort, kAddress, value) != OV_SUCCESS) die("no answer from the simulator");
  auto start = Clock::now();
  for (int i = 0; i < n; ++i)
    if (OV_ReadAI(kPort, kAddress, value) != OV_SUCCESS) die("a reading failed");
  double perTransaction = secondsSince(start) / n;
  OV_ReleaseComm(kPort);
  return perTransaction;
}

// The same exchange with nothing but termios, write and poll/read.
double timeBareLoop(const std::string& path, speed_t speed, int n) {
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) die("cannot open " + path);
  termios tio{};
  ::tcgetattr(fd, &tio);
  ::cfmakeraw(&tio);
  ::cfsetspeed(&tio, speed);
  tio.c_cflag |= CLOCAL | CREAD;
  ::tcsetattr(fd, TCSANOW, &tio);
  const char command[] = "#01\r";
  auto exchange = [&] {
    ::tcflush(fd, TCIOFLUSH);
    if (::write(fd, command, sizeof command - 1) != sizeof command - 1) die("write failed");
    for (;;) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 1000) <= 0) die("no answer to the bare loop");
      char c = 0;
      if (::read(fd, &c, 1) == 1 && c == '\r') return;
    }
  };
  exchange();
  auto start = Clock::now();
  for (int i = 0; i < n; ++i) exchange();
  double perTransaction = secondsSince(start) / n;
  ::close(fd);
  return perTransaction;
}

orvane::sim::ModuleState analogInput(int baudCode) {
  auto module = orvane::sim::makeModule("7213", kAddress);
  module.baudCode = baudCode;
  return module;
}

// The bare loop on the same emulated line shows how much of the gap to the
// line's own limit is the simulator's pacing rather than the library.
void wireLimited(int baudRate, speed_t speed, int moduleBaudCode, uint16_t lineBaudCode, int n) {
  orvane::sim::NetworkOptions options;
  options.wireTime = true;
  orvane::sim::Network net({analogInput(moduleBaudCode)}, options);
  double library = timeReadAI(net.slavePath(), lineBaudCode, n);
  auto frames = net.frames();
  if (frames.empty()) die("the simulator logged no frame");
  std::size_t characters = frames.back().raw.size() + frames.back().reply.size();
  double bare = timeBareLoop(net.slavePath(), speed, n);
  double lineRate = baudRate / 10.0 / static_cast<double>(characters);
  std::printf(
      "wire time %6d bps, %zu characters per exchange: line limit %6.1f/s; "
      "OV_ReadAI %6.1f/s (%5.1f %%), bare termios loop %6.1f/s (%5.1f %%)\n",
      baudRate, characters, lineRate, 1.0 / library, 100.0 / library / lineRate, 1.0 / bare,
      100.0 / bare / lineRate);
}

}  // namespace

int main(int argc, char** argv) {
  int n = argc > 1 ? std::atoi(argv[1]) : 2000;
  if (n <= 0) die("usage: orvio_bench [transactions]");

  wireLimited(9600, B9600, 3, OV_BAUD_9600, std::max(20, n / 40));
  wireLimited(115200, B115200, 6, OV_BAUD_115200, std::max(50, n / 10));

  orvane::sim::Network net({analogInput(3)});
  double library = timeReadAI(net.slavePath(), OV_BAUD_9600, n);
  double bare = timeBareLoop(net.slavePath(), B9600, n);
  std::printf(
      "no wire time: OV_ReadAI %7.1f us/transaction, bare termios loop %7.1f us (%d each)\n",
      library * 1e6, bare * 1e6, n);

  const std::string trace = "/tmp/orvio_bench-" + std::to_string(::getpid()) + ".trace";
  if (OV_SetTraceFile(trace.c_str()) != OV_SUCCESS) die("cannot write " + trace);
  double traced = timeReadAI(net.slavePath(), OV_BAUD_9600, n);
  OV_SetTraceFile(nullptr);
  ::unlink(trace.c_str());
  std::printf("trace on to a file: OV_ReadAI %7.1f us/transaction (%+.1f %% against off)\n",
              traced * 1e6, (traced / library - 1) * 100);
  return 0;
}
