// netline_bench: a $01M round trip through ser2net on 127.0.0.1 in front of
// the simulator, our RFC 2217 line against pyserial's RFC 2217 client on the
// same server in the same run, and both against the pty directly; then a
// baud change over RFC 2217: the time until the first frame at the new rate
// has its reply.
//
//   netline_bench [ROUND_TRIPS]      (default 60)
//
// Needs ser2net; pyserial's figures need Debian's python3-serial (run with
// /usr/bin/python3) and are left out without it.
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ser2net_server.h"
#include "serial/line.h"
#include "sim/network.h"

namespace {

using namespace orvane;
using Clock = std::chrono::steady_clock;

constexpr auto kTimeout = std::chrono::milliseconds(1000);
constexpr const char* kPython = "/usr/bin/python3";

[[noreturn]] void die(const std::string& what) {
  std::fprintf(stderr, "netline_bench: %s\n", what.c_str());
  std::exit(1);
}

struct Figures {
  double median = 0;
  double p90 = 0;
};

Figures figuresOf(std::vector<double> ms) {
  if (ms.empty()) return {};
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms[ms.size() * 9 / 10]};
}

void print(const char* what, const Figures& f) {
  std::printf("%-44s median %7.3f ms   p90 %7.3f ms\n", what, f.median, f.p90);
}

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void roundTrip(serial::Line& line, const std::string& frame, const std::string& expected) {
  line.purge();
  if (!line.write(frame, kTimeout)) die(line.device() + ": the frame did not go out");
  std::string reply;
  while (auto byte = line.readByte(kTimeout)) {
    if (*byte == '\r') break;
    reply += static_cast<char>(*byte);
  }
  if (reply != expected) die(line.device() + ": reply \"" + reply + "\" to " + frame);
}

Figures ourRoundTrips(const std::string& name, int n) {
  auto line = serial::openLine(name);
  line->configure(9600);
  roundTrip(*line, "$01M\r", "!017213");
  std::vector<double> ms;
  for (int i = 0; i < n; ++i) {
    const auto start = Clock::now();
    roundTrip(*line, "$01M\r", "!017213");
    ms.push_back(millisecondsSince(start));
  }
  return figuresOf(ms);
}

// Alternates 19200 and 9600: configure, then the first frame at the new rate.
Figures ourBaudChanges(const std::string& name, int n) {
  auto line = serial::openLine(name);
  std::vector<double> ms;
  for (int i = 0; i < n; ++i) {
    const bool fast = i % 2 == 0;
    const auto start = Clock::now();
    line->configure(fast ? 19200 : 9600);
    roundTrip(*line, fast ? "$05M\r" : "$01M\r", fast ? "!057231" : "!017213");
    ms.push_back(millisecondsSince(start));
  }
  return figuresOf(ms);
}

// pyserial measures itself the same way and prints the times in ms, one a
// line; "baud" alternates the rates as ourBaudChanges does, "unpurged" leaves
// out reset_input_buffer() (pyserial's PURGE-DATA).
constexpr const char* kPyserialScript = R"(
import sys, time, serial
url, n, mode = sys.argv[1], int(sys.argv[2]), sys.argv[3]
s = serial.serial_for_url(url, baudrate=9600, timeout=1)
def trip(frame, expected):
    if mode != "unpurged": s.reset_input_buffer()
    s.write(frame)
    reply = s.read_until(b"\r")
    if reply != expected: sys.exit("reply %r to %r" % (reply, frame))
trip(b"$01M\r", b"!017213\r")
for i in range(n):
    start = time.perf_counter()
    if mode == "baud":
        fast = i % 2 == 0
        s.baudrate = 19200 if fast else 9600
        trip(b"$05M\r" if fast else b"$01M\r", b"!057231\r" if fast else b"!017213\r")
    else:
        trip(b"$01M\r", b"!017213\r")
    print((time.perf_counter() - start) * 1000)
s.close()
)";

bool pyserialInstalled() {
  const std::string check = std::string(kPython) + " -c 'import serial' 2>/dev/null";
  return std::system(check.c_str()) == 0;
}

Figures pyserialRoundTrips(const std::string& url, int n, const char* mode) {
  const std::string command = std::string(kPython) + " -c '" + kPyserialScript + "' '" + url +
                              "' " + std::to_string(n) + " " + mode;
  FILE* out = ::popen(command.c_str(), "r");
  if (!out) die("cannot run " + std::string(kPython));
  std::vector<double> ms;
  double value = 0;
  while (std::fscanf(out, "%lf", &value) == 1) ms.push_back(value);
  if (::pclose(out) != 0 || static_cast<int>(ms.size()) != n) die("pyserial failed on " + url);
  return figuresOf(ms);
}

struct Setup {
  std::filesystem::path dir;
  std::string link;
  bool pyserial = false;
  int n = 0;
};

// Every line through one ser2net configuration.
void throughSer2net(const Setup& setup, const char* label, const std::vector<std::string>& options,
                    bool baudChanges) {
  test::Ser2net server(setup.link, setup.dir, options);
  server.start();
  const int n = setup.n;
  std::printf("\nthrough ser2net, %s:\n", label);
  const std::string rfc2217 = server.rfc2217Url();
  print("ours, rfc2217://", ourRoundTrips(rfc2217, n));
  if (setup.pyserial) {
    print("pyserial, rfc2217://...?ign_set_control",
          pyserialRoundTrips(rfc2217 + "?ign_set_control", n, "trip"));
    print("pyserial, the same without its purge",
          pyserialRoundTrips(rfc2217 + "?ign_set_control", n, "unpurged"));
  }
  print("ours, socket://", ourRoundTrips(server.socketUrl(), n));
  if (setup.pyserial)
    print("pyserial, socket://", pyserialRoundTrips(server.socketUrl(), n, "trip"));
  if (!baudChanges) return;
  std::printf("baud change over RFC 2217 until the reply to the first frame at the new rate:\n");
  print("ours", ourBaudChanges(rfc2217, n));
  if (setup.pyserial)
    print("pyserial", pyserialRoundTrips(rfc2217 + "?ign_set_control", n, "baud"));
}

}  // namespace

int main(int argc, char** argv) {
  Setup setup;
  setup.n = argc > 1 ? std::atoi(argv[1]) : 60;
  if (setup.n <= 0) die("usage: netline_bench [round trips]");
  if (test::Ser2net::program().empty()) die("ser2net is not installed");
  setup.pyserial = pyserialInstalled();
  if (!setup.pyserial)
    std::printf("(python3-serial is not installed: pyserial's figures left out)\n");

  char pattern[] = "/tmp/orvane-netline-bench-XXXXXX";
  if (!::mkdtemp(pattern)) die("no temporary directory");
  setup.dir = pattern;
  setup.link = (setup.dir / "line").string();
  sim::NetworkOptions options;
  options.linkPath = setup.link;
  auto fast = sim::makeModule("7231", 5);
  fast.baudCode = 4;
  sim::Network net({sim::makeModule("7213", 1), fast}, options);

  std::printf(
      "$01M round trips (%d each; median and 90th percentile), the simulator without "
      "wire time:\n",
      setup.n);
  print("ours, pty directly", ourRoundTrips(setup.link, setup.n));
  if (setup.pyserial)
    print("pyserial, pty directly", pyserialRoundTrips(setup.link, setup.n, "trip"));
  throughSer2net(setup, "its defaults", {}, true);
  throughSer2net(setup, "sendon: \"\\r\"", {"sendon: \"\\r\""}, false);
  throughSer2net(setup, "chardelay: false", {"chardelay: false"}, false);
  std::filesystem::remove_all(setup.dir);
  return 0;
}
