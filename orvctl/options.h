// The command line: the global options (before or after the command), the
// command, and the command's own arguments. Every mistake is a UsageError
// with one line that says what is wrong.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "output.h"

namespace orvctl {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct GlobalOptions {
  std::string port = "COM1";
  long baudRate = 9600;
  long timeoutMs = 100;
  bool checksum = false;
  OutputFormat format = OutputFormat::Text;
  std::string traceFile;
};

struct Invocation {
  GlobalOptions global;
  bool help = false;
  bool version = false;
  std::string command;
  std::vector<std::string> args;  // what follows the command
};

// The arguments without the program's name.
Invocation parseInvocation(const std::vector<std::string>& argv);

// A command's arguments: options ("--name VALUE", "--name=VALUE", "--flag")
// are taken out first, then the positionals are what is left.
class ArgList {
 public:
  ArgList(std::string command, std::vector<std::string> args)
      : command_(std::move(command)), args_(std::move(args)) {}

  const std::string& command() const { return command_; }

  std::optional<std::string> option(std::string_view name);
  bool flag(std::string_view name);
  // The positionals; a UsageError when an unknown option is left or their
  // number is outside the bounds.
  std::vector<std::string> positionals(std::size_t min, std::size_t max);

  // A UsageError naming the command.
  [[noreturn]] void fail(const std::string& what) const;

 private:
  std::string command_;
  std::vector<std::string> args_;
};

// Checked conversions of argument texts; the name goes into the message.
int addressArgument(const std::string& text, const std::string& name = "address");
long integerArgument(const std::string& text, long min, long max, const std::string& name);
long baudArgument(const std::string& text);

// The usage, for --help.
const char* usageText();

}  // namespace orvctl
