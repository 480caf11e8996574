// send: one raw command and its reply as it came; the two broadcasts go out
// without waiting for a reply, since no module answers them.
#include <chrono>
#include <cstdint>
#include <thread>

#include "commands.h"
#include "orvio.h"

namespace orvctl {

namespace {

// Releasing the port discards what still waits to go out, and nothing waits
// for a reply to a broadcast: it gets the time its characters (checksum and
// carriage return included) take on the wire, and a margin, first.
void letBroadcastOut(const std::string& frame, long baudRate) {
  constexpr long kBitsPerCharacter = 10;
  constexpr auto kMargin = std::chrono::milliseconds(50);
  const long bits = static_cast<long>(frame.size() + 3) * kBitsPerCharacter;
  std::this_thread::sleep_for(std::chrono::milliseconds(bits * 1000 / baudRate) + kMargin);
}

}  // namespace

int runSend(Context& context, ArgList& args) {
  const std::string frame = args.positionals(1, 1)[0];
  if (frame.empty()) args.fail("the frame is empty");
  Port& port = context.port();
  Record record = {{"command", frame, ""}};
  if (frame == "#**" || frame == "~**") {
    port.check(frame == "#**" ? OV_Sync(port.slot()) : OV_HostOK(port.slot()));
    letBroadcastOut(frame, port.baudRate());
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
