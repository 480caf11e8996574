// The orvadmin program without a display: --help and --version answer before
// Qt starts, an unknown argument is refused with status 2, and Qt's own
// options still reach Qt.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "orvane_version.h"

extern char** environ;

namespace {

struct Outcome {
  int status = -1;  // the exit status, or 128 + the signal that ended it
  std::string out;
  std::string err;
};

// The environment without anything that names a display or a platform.
std::vector<char*> environmentWithoutDisplay() {
  std::vector<char*> variables;
  for (char** v = environ; *v; ++v) {
    const std::string_view variable = *v;
    if (variable.starts_with("DISPLAY=") || variable.starts_with("WAYLAND_DISPLAY=") ||
        variable.starts_with("QT_QPA_PLATFORM="))
      continue;
    variables.push_back(*v);
  }
  variables.push_back(nullptr);
  return variables;
}

// Reads both pipes to their end; a program still running after 30 s is
// killed, so that a hang fails the test instead of holding it.
Outcome run(std::vector<std::string> arguments) {
  int out[2];
  int err[2];
  if (::pipe(out) != 0 || ::pipe(err) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, err[0]);
  arguments.insert(arguments.begin(), ORVADMIN_PATH);
  std::vector<char*> argv;
  for (auto& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  auto environment = environmentWithoutDisplay();
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, ORVADMIN_PATH, &actions, nullptr, argv.data(), environment.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  ::close(err[1]);
  Outcome outcome;
  if (spawned != 0) return outcome;
  pollfd fds[] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* texts[] = {&outcome.out, &outcome.err};
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  int open = 2;
  while (open > 0 && std::chrono::steady_clock::now() < end && ::poll(fds, 2, 100) >= 0) {
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        texts[i]->append(buffer, static_cast<std::size_t>(n));
        continue;
      }
      ::close(fds[i].fd);
      fds[i].fd = -1;
      --open;
    }
  }
  for (const auto& f : fds)
    if (f.fd >= 0) ::close(f.fd);
  if (open > 0) ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return outcome;
}

TEST(OrvadminProgram, AnswersHelpAndVersionWithoutADisplayAndRefusesUnknownArguments) {
  const std::string refusalEnd = "; see orvadmin --help\n";
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string out;  // the start of stdout
    std::string err;
  } cases[] = {
      {{"--help"}, 0, "usage: orvadmin [Qt options]\n", ""},
      {{"-h"}, 0, "usage: orvadmin [Qt options]\n", ""},
      {{"--version"}, 0, "orvadmin " ORVANE_VERSION "\n", ""},
      {{"-platform", "offscreen", "--version"}, 0, "orvadmin " ORVANE_VERSION "\n", ""},
      {{"--bogus"}, 2, "", "orvadmin: unknown argument \"--bogus\"" + refusalEnd},
      {{"admin.map"}, 2, "", "orvadmin: unknown argument \"admin.map\"" + refusalEnd},
      {{"-style"}, 2, "", "orvadmin: -style needs a value" + refusalEnd},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.front());
    const Outcome outcome = run(c.arguments);
    EXPECT_EQ(outcome.status, c.status) << outcome.err;
    EXPECT_EQ(outcome.out.substr(0, c.out.size()), c.out);
    EXPECT_EQ(outcome.out.empty(), c.out.empty());
    EXPECT_EQ(outcome.err, c.err);
  }
}

// Qt ends the program on a platform it cannot load; that it names the one
// given shows the option reached it. Its abort leaves no core file.
TEST(OrvadminProgram, QtsOwnOptionsReachQt) {
  const rlimit noCore{0, 0};
  ASSERT_EQ(::setrlimit(RLIMIT_CORE, &noCore), 0);
  const Outcome outcome = run({"-platform", "orvane-no-such-platform"});
  EXPECT_NE(outcome.status, 0);
  EXPECT_NE(outcome.err.find("orvane-no-such-platform"), std::string::npos) << outcome.err;
}

}  // namespace
