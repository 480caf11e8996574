// orvctl run as a program, as a script runs it: its arguments, a clean
// environment (C locale, its own config directory), stdout and stderr on
// pipes, or stderr on a pseudo-terminal as on a user's screen.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace orvctl::test {

struct Outcome {
  int status = -1;  // the exit status; -1 when it did not exit by itself
  std::string out;
  std::string err;
};

class OrvctlProcess {
 public:
  // Environment entries override or add to the test's own; an empty value
  // removes the entry.
  using Environment = std::map<std::string, std::string>;

  OrvctlProcess(const std::vector<std::string>& args, const Environment& environment = {},
                bool stderrOnTerminal = false);
  ~OrvctlProcess();
  OrvctlProcess(const OrvctlProcess&) = delete;
  OrvctlProcess& operator=(const OrvctlProcess&) = delete;

  // Reads the output until the condition holds on (stdout, stderr), the
  // program ended or the time-out passed; true when the condition holds.
  bool waitFor(const std::function<bool(const std::string&, const std::string&)>& done,
               std::chrono::milliseconds timeout);
  bool waitForOutLines(std::size_t lines, std::chrono::milliseconds timeout);
  bool waitForErr(const std::string& text, std::chrono::milliseconds timeout);

  void signal(int number);
  // Waits for the exit (killing it after the time-out) and collects the rest
  // of its output.
  Outcome finish(std::chrono::milliseconds timeout = std::chrono::seconds(30));

  const std::string& out() const { return out_; }
  const std::string& err() const { return err_; }

 private:
  void readAvailable(int waitMs);

  int pid_ = -1;
  int outFd_ = -1, errFd_ = -1;
  std::string out_, err_;
};

// Runs orvctl to its end.
Outcome runOrvctl(const std::vector<std::string>& args,
                  const OrvctlProcess::Environment& environment = {});

// The environment of the decimal-comma locale the build generated.
OrvctlProcess::Environment commaLocale();

}  // namespace orvctl::test
