// Threads that keep calling the library while main returns: every call must
// find the library's lock and tables intact and answer with a documented
// status, before and after the library releases its ports at exit. A race
// needs several tries, so the program runs the scene in child processes and
// fails when any child reports a wrong status, crashes or draws a sanitizer
// report (those end the child with a non-zero status).
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "orvio.h"
#include "sim/network.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

constexpr int kRuns = 6;
constexpr int kThreads = 4;
constexpr int kWrongStatus = 3;

// Long enough for the library's copy to live on the heap, so that a
// destroyed copy is a freed block. A plain array: the test's own constants
// must outlive the threads too.
constexpr const char* kMissingDevice = "/dev/orvane-exit-test-no-such-device-at-all";

bool documented(uint16_t status) {
  switch (status) {
    case OV_SUCCESS:
    case OV_REFUSED:
    case OV_LINE_SETTINGS_FAILED:
    case OV_IO_ERROR:
    case OV_TIMEOUT:
    case OV_CHECKSUM_ERROR:
      return true;
    default:
      return false;
  }
}

void check(uint16_t status) {
  if (documented(status)) return;
  std::fprintf(stderr, "orvio_exit_tests: undocumented status %04x\n", status);
  std::_Exit(kWrongStatus);
}

std::atomic<int> callsMade{0};

// Calls that touch every kind of library state: port slots, names, the
// digital tables and the data-pass tables.
void keepCalling(uint16_t port, std::string device) {
  char text[30];
  for (unsigned i = 0;; ++i) {
    switch (i % 6) {
      case 0:
        check(OV_SetPortName(port, i % 12 == 0 ? kMissingDevice : device.c_str()));
        break;
      case 1:
        check(OV_InitialComm(port, OV_BAUD_9600, 8, OV_PARITY_NONE, 0));
        break;
      case 2:
        check(OV_ReadAI(port, 1, text));
        break;
      case 3:
        check(OV_WriteDOPort(port, 1, 1, 0x5A, 7458));
        break;
      case 4:
        check(OV_DataPassConfig(port, static_cast<uint16_t>(i % 256), 5));
        check(OV_TimeOut(port, 20));
        break;
      default:
        check(OV_ReleaseComm(port));
        break;
    }
    callsMade.fetch_add(1, std::memory_order_relaxed);
  }
}

// Keeps the exit handlers of the program busy for a while, so that the other
// threads call the library throughout them. Registered before the first call
// of the library, it runs after everything the library registers at run time.
void slowExitHandler() { std::this_thread::sleep_for(30ms); }

int child() {
  std::atexit(slowExitHandler);
  orvane::sim::Network network({orvane::sim::makeModule("7213", 1)});
  for (uint16_t port = 1; port <= kThreads; ++port)
    std::thread(keepCalling, port, network.slavePath()).detach();
  while (callsMade.load() < 400) std::this_thread::sleep_for(1ms);
  // The threads are still calling; from here on their line is gone.
  return 0;
}

int runChild(const char* self) {
  char childFlag[] = "--child";
  char* argv[] = {const_cast<char*>(self), childFlag, nullptr};
  pid_t pid = 0;
  if (::posix_spawn(&pid, self, nullptr, nullptr, argv, environ) != 0) return -1;
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--child") == 0) return child();
  int failed = 0;
  for (int run = 0; run < kRuns; ++run) {
    int status = runChild("/proc/self/exe");
    if (status != 0) {
      std::fprintf(stderr, "run %d: the child ended with status %d\n", run, status);
      ++failed;
    }
  }
  std::printf("%d passed, %d failed\n", kRuns - failed, failed);
  return failed == 0 ? 0 : 1;
}
