// send: one raw command and its reply as it came; the two broadcasts go out
// without waiting for a reply, since no module answers them.
#include <cstdint>

#include "commands.h"
#include "orvio.h"

namespace orvctl {

int runSend(Context& context, ArgList& args) {
  const std::string frame = args.positionals(1, 1)[0];
  if (frame.empty()) args.fail("the frame is empty");
  Port& port = context.port();
  Record record = {{"command", frame, ""}};
  if (frame == "#**" || frame == "~**") {
    port.check(frame == "#**" ? OV_Sync(port.slot()) : OV_HostOK(port.slot()));
    record.push_back({"reply", std::monostate{}, ""});
  } else {
    char reply[30] = "";
    port.check(OV_SendCommand(port.slot(), frame.c_str(), reply));
    record.push_back({"reply", std::string(reply), ""});
  }
  const auto& reply = record.back().value;
  if (context.printer.format() == OutputFormat::Text) {
    if (std::holds_alternative<std::string>(reply))
      context.printer.raw(std::get<std::string>(reply));
  } else {
    context.printer.record(record);
  }
  if (std::holds_alternative<std::string>(reply) &&
      std::get<std::string>(reply).rfind('?', 0) == 0) {
    context.err << "orvctl: the module refused \"" << frame << "\"\n";
    return kExitModule;
  }
  return kExitOk;
}

}  // namespace orvctl
