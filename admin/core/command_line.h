// orvadmin's command line, read before Qt starts: --help and --version are
// answered without a display, and an argument that neither orvadmin nor Qt
// takes is refused instead of ignored.
#pragma once

#include <string>

namespace orvane::admin {

struct CommandLine {
  enum class Action { Run, Help, Version, Refuse };
  Action action = Action::Run;
  std::string refusal;  // what is wrong, for Refuse: "unknown argument \"-x\""
};

// Qt's own options (-platform NAME, -style NAME, -reverse, ...) are let
// through for QApplication; the first argument that is no option of either
// is refused, whatever else the line asks for.
CommandLine parseCommandLine(int argc, const char* const* argv);

std::string helpText();
std::string versionText();

}  // namespace orvane::admin
