// orvsim: runs a simulated module network on a pseudo-terminal until SIGINT,
// SIGTERM, SIGHUP (its terminal closed) or SIGPIPE (the reader of its output
// went away).
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>

#include "orvane_version.h"
#include "protocol/catalogue.h"
#include "serial/line_trace.h"
#include "sim/network.h"
#include "sim/network_file.h"

namespace {

using namespace orvane;

constexpr int kUsageOrFile = 2;

struct Arguments {
  enum class Action { Run, Help, Version };
  Action action = Action::Run;
  std::string networkFile;
  std::string linkPath;
  bool wireTime = false;
  bool verbose = false;
};

void usage(std::ostream& out) {
  out << "usage: orvsim [--network FILE] [--link PATH] [--wire-time] [-v]\n"
         "       orvsim --help | --version\n"
         "  --network FILE  the modules of a JSON network file (default: the demo network)\n"
         "  --link PATH     a symbolic link to the line, removed at exit\n"
         "  --wire-time     characters take their time on the line (10 bits each)\n"
         "  -v              print every frame and its reply in the line trace's format\n"
         "  -h, --help      print this help and exit\n"
         "  --version       print the version and exit\n";
}

std::optional<Arguments> parse(int argc, char** argv) {
  Arguments a;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--network" && hasValue)
      a.networkFile = argv[++i];
    else if (arg == "--link" && hasValue)
      a.linkPath = argv[++i];
    else if (arg == "--wire-time")
      a.wireTime = true;
    else if (arg == "-v" || arg == "--verbose")
      a.verbose = true;
    else if (arg == "-h" || arg == "--help")
      a.action = Arguments::Action::Help;
    else if (arg == "--version")
      a.action = Arguments::Action::Version;
    else
      return std::nullopt;
  }
  return a;
}

void listModules(const std::vector<sim::ModuleState>& modules) {
  for (const auto& m : modules) {
    std::printf("  %3d (%02XH)  %-6s %6d bps%s%s\n", m.address, m.address, m.model.c_str(),
                protocol::baudRateOf(m.baudCode), m.checksum ? "  checksum" : "",
                m.initState ? "  initialization state (answers at 00, 9600 bps)" : "");
  }
}

// The simulator's side of the line in the format of the line trace: "<" for
// a frame received, ">" for the reply sent with its delay after the frame,
// "*" before a frame at another rate or parity than the one before.
class FrameTrace {
 public:
  // The name the lines give the line: the link when there is one, since
  // that is the name the products open.
  void setLine(const std::string& path) {
    std::lock_guard lock(mutex_);
    port_ = "orvsim " + path;
  }

  void frame(const sim::FrameRecord& f) {
    std::lock_guard lock(mutex_);
    if (f.baudRate != rate_ || f.parity != parity_) {
      rate_ = f.baudRate;
      parity_ = f.parity;
      serial::TraceEvent setting = event(serial::TraceKind::BaudChanged);
      setting.baudRate = f.baudRate;
      setting.parity = static_cast<serial::Parity>(f.parity);
      print(setting);
    }
    serial::TraceEvent received = event(serial::TraceKind::Received);
    received.bytes = f.raw;
    print(received);
  }

  void reply(const sim::FrameRecord& f) {
    std::lock_guard lock(mutex_);
    serial::TraceEvent sent = event(serial::TraceKind::Sent);
    sent.bytes = f.reply;
    sent.delay = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - f.at);
    print(sent);
  }

 private:
  serial::TraceEvent event(serial::TraceKind kind) const {
    serial::TraceEvent e;
    e.kind = kind;
    e.at = std::chrono::system_clock::now();
    e.port = port_;
    return e;
  }

  static void print(const serial::TraceEvent& e) {
    std::printf("%s\n", serial::formatTraceLine(e).c_str());
    // The SIGPIPE of a failed write stays pending on this thread, where no
    // one waits for it: hand it to the process.
    if (std::fflush(stdout) != 0 && errno == EPIPE) ::kill(::getpid(), SIGPIPE);
  }

  std::mutex mutex_;
  std::string port_ = "orvsim";
  int rate_ = 0;
  int parity_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const auto args = parse(argc, argv);
  if (!args) {
    usage(std::cerr);
    return kUsageOrFile;
  }
  if (args->action == Arguments::Action::Help) {
    usage(std::cout);
    return 0;
  }
  if (args->action == Arguments::Action::Version) {
    std::cout << "orvsim " ORVANE_VERSION "\n";
    return 0;
  }
  sim::NetworkSetup setup;
  try {
    if (args->networkFile.empty())
      setup.modules = sim::demoNetwork();
    else
      setup = sim::loadNetworkSetup(args->networkFile);
  } catch (const sim::NetworkFileError& e) {
    std::cerr << "orvsim: " << e.what() << "\n";
    return kUsageOrFile;
  }

  // The signals are taken by sigwait below; the network's thread inherits the mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGHUP);
  sigaddset(&stopSignals, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  try {
    sim::NetworkOptions options;
    options.wireTime = args->wireTime;
    options.linkPath = args->linkPath;
    FrameTrace trace;
    if (args->verbose) {
      options.onFrame = [&trace](const sim::FrameRecord& f) { trace.frame(f); };
      options.onReplySent = [&trace](const sim::FrameRecord& f) { trace.reply(f); };
    }
    sim::Network network(setup.modules, options);
    trace.setLine(args->linkPath.empty() ? network.slavePath() : args->linkPath);
    sim::applyFaults(network, setup.faults);
    std::printf("%s\n", network.slavePath().c_str());
    if (!args->linkPath.empty())
      std::printf("link %s -> %s\n", args->linkPath.c_str(), network.slavePath().c_str());
    std::printf("%zu modules%s:\n", setup.modules.size(),
                args->networkFile.empty() ? " (demo network)" : "");
    listModules(setup.modules);
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    network.stop();
  } catch (const std::exception& e) {
    std::cerr << "orvsim: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
