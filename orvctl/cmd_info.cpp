// info: the model, firmware and configuration of one module.
#include "commands.h"
#include "module.h"

namespace orvctl {

int runInfo(Context& context, ArgList& args) {
  const int address = addressArgument(args.positionals(1, 1)[0]);
  context.printer.record(infoRecord(identify(context.port(), address)));
  return kExitOk;
}

}  // namespace orvctl
