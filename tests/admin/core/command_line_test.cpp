// orvadmin's own arguments, Qt's let through, and every other refused.
#include "admin/core/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvane::admin {
namespace {

using Action = CommandLine::Action;

CommandLine parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "orvadmin");
  return parseCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CommandLine, AnswersItsOwnOptionsLetsQtsThroughAndRefusesTheRest) {
  const struct {
    std::vector<const char*> arguments;
    Action action;
    std::string refusal;
  } cases[] = {
      {{}, Action::Run, ""},
      {{"--help"}, Action::Help, ""},
      {{"-h"}, Action::Help, ""},
      {{"--version"}, Action::Version, ""},
      {{"--version", "--help"}, Action::Help, ""},
      {{"-platform", "offscreen", "-style=fusion", "-reverse"}, Action::Run, ""},
      {{"--platform", "xcb", "-stylesheet", "a.qss", "--version"}, Action::Version, ""},
      {{"-display", ":1", "-geometry", "640x480", "-widgetcount"}, Action::Run, ""},
      {{"-platform", "-h"}, Action::Run, ""},  // "-h" is the platform's name here
      {{"--bogus"}, Action::Refuse, "unknown argument \"--bogus\""},
      {{"map.map"}, Action::Refuse, "unknown argument \"map.map\""},
      {{"--help", "-x"}, Action::Refuse, "unknown argument \"-x\""},
      {{"-platform=offscreen"}, Action::Refuse, "unknown argument \"-platform=offscreen\""},
      {{"-"}, Action::Refuse, "unknown argument \"-\""},
      {{"-style"}, Action::Refuse, "-style needs a value"},
  };
  for (const auto& c : cases) {
    const CommandLine line = parse(c.arguments);
    SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments.front());
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.refusal, c.refusal);
  }
}

}  // namespace
}  // namespace orvane::admin
