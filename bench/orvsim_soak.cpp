// orvsim_soak: a long run of the simulator. A client drives the demo network
// over its pty (no wire time) with a mix of commands to every module, with and
// without checksum, broadcasts and garbage, reads every reply, and reports
// frames per second and the resident memory along the way.
//
//   orvsim_soak [FRAMES]     (default 1,000,000)
//
// Exit status 1 when the resident memory grew by more than 10 MiB or a reply
// went missing.
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "protocol/catalogue.h"
#include "protocol/frame.h"
#include "protocol/numbers.h"
#include "serial/serial_port.h"
#include "sim/network.h"

namespace {

using namespace orvane;
using Clock = std::chrono::steady_clock;

constexpr long kCheckpoint = 100000;
constexpr double kMostGrowthMiB = 10.0;
constexpr auto kReplyTimeout = std::chrono::milliseconds(1000);

struct Memory {
  double residentMiB = 0;
  double peakMiB = 0;
};

Memory memoryNow() {
  Memory m;
  std::ifstream status("/proc/self/status");
  std::string key;
  double kib = 0;
  while (status >> key) {
    if (key == "VmRSS:" && status >> kib) m.residentMiB = kib / 1024;
    if (key == "VmHWM:" && status >> kib) m.peakMiB = kib / 1024;
  }
  return m;
}

// One frame of the mix and whether a module answers it.
struct Frame {
  std::string bytes;
  int baudRate = 9600;
  bool answered = false;
};

// Every module is addressed as it answers: at its own rate, 00 in the
// initialization state, with its checksum; and once more without the checksum
// it needs, which it ignores.
std::vector<Frame> frameMix(const sim::Network& net) {
  const char* bodies[] = {"2", "M", "F", "5", "", "0", "6", "4", "DI", "3"};
  const char* leads = "$$$$#####@";
  std::vector<Frame> mix;
  for (int address : net.addresses()) {
    const auto m = net.state(address);
    const int at = m.initState ? 0 : address;
    const int rate = m.initState ? 9600 : protocol::baudRateOf(m.baudCode);
    const bool checksum = m.checksum && !m.initState && at != 0;
    for (int i = 0; i < 10; ++i) {
      const std::string command =
          leads[i] + protocol::hex2(static_cast<std::uint32_t>(at)) + bodies[i];
      mix.push_back({protocol::completeCommand(command, checksum), rate, true});
      if (checksum) mix.push_back({protocol::completeCommand(command, false), rate, false});
    }
  }
  mix.push_back({"~**\r", 9600, false});
  mix.push_back({"#**\r", 9600, false});
  mix.push_back({std::string("\x7F\xFE\x13zz\x00\xA5\r", 8), 9600, false});
  mix.push_back({"$G1M\r", 9600, false});
  return mix;
}

// Reads up to and including the CR; false on time-out.
bool readReply(serial::SerialPort& port, std::string& buffer) {
  for (;;) {
    const auto cr = buffer.find('\r');
    if (cr != std::string::npos) {
      buffer.erase(0, cr + 1);
      return true;
    }
    if (!port.waitReadable(kReplyTimeout)) return false;
    char chunk[256];
    const ssize_t n = ::read(port.fd(), chunk, sizeof chunk);
    if (n > 0) buffer.append(chunk, static_cast<std::size_t>(n));
  }
}

void printMemory(const char* when, const Memory& m) {
  std::printf("  %-22s VmRSS %6.1f MiB  peak %6.1f MiB\n", when, m.residentMiB, m.peakMiB);
}

}  // namespace

int main(int argc, char** argv) {
  const long total = argc > 1 ? std::atol(argv[1]) : 1000000;
  sim::Network net(sim::demoNetwork());
  const std::vector<Frame> mix = frameMix(net);
  auto port = serial::SerialPort::open(net.slavePath());
  int lineRate = 9600;
  port.configure(lineRate);
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::size_t> pick(0, mix.size() - 1);

  const Memory start = memoryNow();
  Memory checkpoint;
  long answered = 0, missing = 0;
  std::string buffer;
  const auto began = Clock::now();
  for (long i = 1; i <= total; ++i) {
    const Frame& f = mix[pick(random)];
    if (f.baudRate != lineRate) port.configure(lineRate = f.baudRate);
    port.write(f.bytes, kReplyTimeout);
    if (f.answered) {
      if (readReply(port, buffer))
        ++answered;
      else
        ++missing;
    }
    if (i == kCheckpoint) checkpoint = memoryNow();
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - began).count();
  const Memory end = memoryNow();
  const double growth = end.residentMiB - start.residentMiB;

  std::printf(
      "orvsim_soak: %ld frames (%ld answered, %ld replies missing) in %.1f s: %.0f frames/s\n",
      total, answered, missing, seconds, total / seconds);
  printMemory("start", start);
  if (total >= kCheckpoint) printMemory("after 100000 frames", checkpoint);
  printMemory("end", end);
  std::printf("  growth %.1f MiB (at most %.0f MiB)\n", growth, kMostGrowthMiB);
  return growth > kMostGrowthMiB || missing > 0 ? 1 : 0;
}
