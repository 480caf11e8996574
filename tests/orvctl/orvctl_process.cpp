#include "orvctl_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

extern char** environ;

namespace orvctl::test {

namespace {

std::vector<std::string> environmentWith(const OrvctlProcess::Environment& changes) {
  OrvctlProcess::Environment all = {
      {"LC_ALL", "C"}, {"LANG", ""}, {"LOCPATH", ""}, {"ORVANE_TRACE", ""}};
  for (const auto& [name, value] : changes) all[name] = value;
  std::vector<std::string> entries;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (all.count(entry.substr(0, entry.find('='))) == 0) entries.push_back(entry);
  }
  for (const auto& [name, value] : all)
    if (!value.empty()) entries.push_back(name + "=" + value);
  return entries;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
  std::vector<char*> p;
  for (auto& t : texts) p.push_back(t.data());
  p.push_back(nullptr);
  return p;
}

}  // namespace

OrvctlProcess::OrvctlProcess(const std::vector<std::string>& args, const Environment& environment,
                             bool stderrOnTerminal) {
  int out[2], err[2];
  if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  if (stderrOnTerminal) {
    if (::openpty(&err[0], &err[1], nullptr, nullptr, nullptr) != 0)
      throw std::runtime_error("openpty");
  } else if (::pipe2(err, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  posix_spawn_file_actions_addclose(&actions, err[0]);
  if (stderrOnTerminal) posix_spawn_file_actions_addclose(&actions, err[1]);
  // Whatever the test runner holds back or ignores, orvctl starts as from a
  // shell.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int s : {SIGINT, SIGTERM, SIGPIPE}) sigaddset(&defaults, s);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::vector<std::string> argv = {ORVCTL_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  auto env = environmentWith(environment);
  auto argvPointers = pointers(argv);
  auto envPointers = pointers(env);
  const int failed = posix_spawn(&pid_, ORVCTL_PATH, &actions, &attributes, argvPointers.data(),
                                 envPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(out[1]);
  ::close(err[1]);
  outFd_ = out[0];
  errFd_ = err[0];
  if (failed) throw std::runtime_error("spawn " ORVCTL_PATH);
}

OrvctlProcess::~OrvctlProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  for (int fd : {outFd_, errFd_})
    if (fd >= 0) ::close(fd);
}

void OrvctlProcess::readAvailable(int waitMs) {
  pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
  if (::poll(fds, 2, waitMs) <= 0) return;
  std::string* into[2] = {&out_, &err_};
  int* fd[2] = {&outFd_, &errFd_};
  for (int i = 0; i < 2; ++i) {
    if (*fd[i] < 0 || fds[i].revents == 0) continue;
    char buffer[4096];
    const ssize_t n = ::read(*fd[i], buffer, sizeof buffer);
    if (n > 0) {
      into[i]->append(buffer, static_cast<std::size_t>(n));
    } else {
      // The end of a pipe, or EIO from a terminal whose last writer went.
      ::close(*fd[i]);
      *fd[i] = -1;
    }
  }
}

bool OrvctlProcess::waitFor(const std::function<bool(const std::string&, const std::string&)>& done,
                            std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done(out_, err_)) {
    if (std::chrono::steady_clock::now() >= end || (outFd_ < 0 && errFd_ < 0)) return false;
    readAvailable(20);
  }
  return true;
}

bool OrvctlProcess::waitForOutLines(std::size_t lines, std::chrono::milliseconds timeout) {
  return waitFor(
      [lines](const std::string& out, const std::string&) {
        return static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n')) >= lines;
      },
      timeout);
}

bool OrvctlProcess::waitForErr(const std::string& text, std::chrono::milliseconds timeout) {
  return waitFor([&](const std::string&,
                     const std::string& err) { return err.find(text) != std::string::npos; },
                 timeout);
}

void OrvctlProcess::signal(int number) {
  if (pid_ > 0) ::kill(pid_, number);
}

Outcome OrvctlProcess::finish(std::chrono::milliseconds timeout) {
  Outcome outcome;
  const auto end = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (pid_ > 0) {
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      pid_ = -1;
      if (WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
      break;
    }
    if (std::chrono::steady_clock::now() >= end) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
      pid_ = -1;
      break;
    }
    readAvailable(10);
  }
  while (outFd_ >= 0 || errFd_ >= 0) readAvailable(100);
  outcome.out = out_;
  outcome.err = err_;
  return outcome;
}

Outcome runOrvctl(const std::vector<std::string>& args,
                  const OrvctlProcess::Environment& environment) {
  OrvctlProcess process(args, environment);
  return process.finish();
}

OrvctlProcess::Environment commaLocale() {
  return {{"LC_ALL", "de_DE.UTF-8"}, {"LOCPATH", ORVANE_TEST_LOCPATH}};
}

}  // namespace orvctl::test
