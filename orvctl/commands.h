// The commands: each parses its own arguments (a UsageError before the port
// is touched), opens the port, works, prints and returns the exit status.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "options.h"
#include "output.h"
#include "port.h"

namespace orvctl {

class Context {
 public:
  Context(const GlobalOptions& options, std::ostream& out, std::ostream& err)
      : options(options), printer(options.format, out), err(err) {}

  // The port, opened at the first call.
  Port& port();

  const GlobalOptions& options;
  Printer printer;
  std::ostream& err;

 private:
  std::unique_ptr<Port> port_;
};

int runScan(Context& context, ArgList& args);
int runInfo(Context& context, ArgList& args);
int runRead(Context& context, ArgList& args);
int runWrite(Context& context, ArgList& args);
int runConfig(Context& context, ArgList& args);
int runWatch(Context& context, ArgList& args);
int runSend(Context& context, ArgList& args);

// The command of the name, nullptr for none.
using CommandFunction = int (*)(Context&, ArgList&);
CommandFunction commandNamed(const std::string& name);

// The optional channel argument CH of read and watch.
std::optional<int> channelArgument(const std::vector<std::string>& positionals, std::size_t at);

}  // namespace orvctl
