// read: one reading of a module's inputs, chosen by its model.
#include <chrono>

#include "commands.h"
#include "module.h"
#include "reading.h"
#include "timestamp.h"

namespace orvctl {

int runRead(Context& context, ArgList& args) {
  const auto positionals = args.positionals(1, 2);
  const int address = addressArgument(positionals[0]);
  const auto channel = channelArgument(positionals, 1);
  const ModuleInfo module = identify(context.port(), address);
  checkReadable(module, channel);
  Record record = {{"time", isoLocalTime(std::chrono::system_clock::now()), ""},
                   {"address", static_cast<long long>(address), ""},
                   {"model", module.model, ""}};
  for (auto& field : readModule(context.port(), module, channel)) record.push_back(field);
  context.printer.record(record);
  return kExitOk;
}

}  // namespace orvctl
