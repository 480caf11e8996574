#include "admin/core/command_line.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "orvane_version.h"

namespace orvane::admin {

namespace {

// The options Qt's application, platform and style code take, with a value
// in the next argument or, for those that allow it, after "=".
constexpr std::string_view kQtValueOptions[] = {
    // every platform
    "platform", "platformpluginpath", "platformtheme", "plugin", "session", "style", "stylesheet",
    "qwindowgeometry", "qwindowicon", "qwindowtitle", "qmljsdebugger",
    // X11
    "display", "geometry", "icon", "title", "name", "visual"};
constexpr std::string_view kQtValueAfterEqualSign[] = {"style", "stylesheet", "qmljsdebugger"};
constexpr std::string_view kQtFlags[] = {"reverse", "testability", "widgetcount", "nograb",
                                         "dograb"};

template <std::size_t N>
bool isOneOf(std::string_view name, const std::string_view (&names)[N]) {
  return std::ranges::find(names, name) != std::end(names);
}

// Qt reads "--platform" as "-platform": the name without its dashes.
std::string_view qtOptionName(std::string_view argument) {
  if (argument.starts_with("--")) return argument.substr(2);
  if (argument.starts_with("-")) return argument.substr(1);
  return {};
}

CommandLine refuse(std::string refusal) {
  return {CommandLine::Action::Refuse, std::move(refusal)};
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const std::string_view name = qtOptionName(argument);
    const std::size_t equalSign = name.find('=');
    if (argument == "--help" || argument == "-h") {
      line.action = CommandLine::Action::Help;
    } else if (argument == "--version") {
      if (line.action != CommandLine::Action::Help) line.action = CommandLine::Action::Version;
    } else if (isOneOf(name, kQtValueOptions)) {
      if (++i == argc) return refuse(std::string(argument) + " needs a value");
    } else if (equalSign != std::string_view::npos &&
               isOneOf(name.substr(0, equalSign), kQtValueAfterEqualSign)) {
      continue;
    } else if (!isOneOf(name, kQtFlags)) {
      return refuse("unknown argument \"" + std::string(argument) + "\"");
    }
  }
  return line;
}

std::string helpText() {
  return "usage: orvadmin [Qt options]\n"
         "       orvadmin --help | --version\n"
         "The Orvane administration utility: find, configure, test and calibrate Orvane\n"
         "remote I/O modules. Its settings are COM.CFG and ports.conf in\n"
         "$XDG_CONFIG_HOME/orvane, or ~/.config/orvane when that is not set.\n"
         "  -h, --help       print this help and exit\n"
         "  --version        print the version and exit\n"
         "Qt's own options are passed to Qt, among them -platform NAME, -style NAME,\n"
         "-stylesheet FILE, -reverse, -display DISPLAY and -geometry GEOMETRY.\n";
}

std::string versionText() { return "orvadmin " ORVANE_VERSION "\n"; }

}  // namespace orvane::admin
