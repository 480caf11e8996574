// orvctl: the Orvane modules from the command line, for scripts and headless
// gateways, through the public liborvio API only.
#include <clocale>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "options.h"
#include "orvane_version.h"
#include "port.h"

int main(int argc, char** argv) {
  using namespace orvctl;
  // Text for people follows the user's locale; JSON and CSV never do.
  std::setlocale(LC_ALL, "");
  try {
    const Invocation invocation = parseInvocation(std::vector<std::string>(argv + 1, argv + argc));
    if (invocation.help) {
      std::cout << usageText();
      return kExitOk;
    }
    if (invocation.version) {
      std::cout << "orvctl " ORVANE_VERSION "\n";
      return kExitOk;
    }
    const CommandFunction command = commandNamed(invocation.command);
    if (!command) throw UsageError("unknown command \"" + invocation.command + "\"");
    slotOf(invocation.global.port);
    Context context(invocation.global, std::cout, std::cerr);
    ArgList args(invocation.command, invocation.args);
    return command(context, args);
  } catch (const UsageError& error) {
    std::cerr << "orvctl: " << error.what() << " (see orvctl --help)\n";
    return kExitUsage;
  } catch (const Failure& failure) {
    std::cerr << "orvctl: " << failure.what() << '\n';
    return failure.exitStatus();
  } catch (const std::exception& error) {
    std::cerr << "orvctl: " << error.what() << '\n';
    return kExitModule;
  }
}
