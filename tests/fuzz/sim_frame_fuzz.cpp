// The simulator's frame handling for every model: the input, cut at each CR,
// is a series of frames on the line of one module, which answers as on the
// simulated network. Each model runs four times: without checksum, with the
// checksum appended to every frame, with the checksum expected but the frames
// as they are, and in the initialization state.
#include <string>
#include <vector>

#include "command.h"
#include "families.h"
#include "fuzz_check.h"
#include "line_rules.h"
#include "protocol/catalogue.h"
#include "protocol/frame.h"
#include "sim/network.h"

namespace {

using namespace orvane::sim;
using orvane::fuzz::require;

enum class Variant { Plain, WithChecksum, RawWithChecksum, InitState };

// One module on its line, as the network keeps it.
struct Station {
  ModuleState state;
  double lastAdvance = 0.0;
  double lastHostOk = 0.0;

  void bringUpToDate(Moment t) {
    if (t.t > lastAdvance) {
      advance(state, {lastAdvance}, t);
      lastAdvance = t.t;
    }
    checkWatchdog(state, {lastHostOk}, t);
  }
};

// The host follows the module's line settings.
LineSettings lineOf(const ModuleState& m) {
  return {m.initState ? 9600 : orvane::protocol::baudRateOf(m.baudCode), true};
}

void checkReply(const ModuleState& m, const Command& c, const Reply& reply) {
  require(reply.has_value(), "a module answers every command addressed to it");
  require(reply->find('\r') == std::string::npos, "a reply carries no CR of its own");
  if (c.lead == m.delimiter && std::string_view("$#%@~&").find(c.lead) == std::string::npos)
    return;  // a data pass: the RS-232 device's answer
  require(!reply->empty() && std::string_view("!>?").find(reply->front()) != std::string::npos,
          "a reply starts with !, > or ?");
  if (reply->front() == '?') require(*reply == "?" + c.address, "a refusal is ? and the address");
  require(m.address >= 0 && m.address <= 255, "the address stays 0 to 255");
  require(m.baudCode >= 0 && m.baudCode <= 7, "the BaudCode stays 0 to 7");
}

void hear(Station& s, const std::string& text, Moment t) {
  const LineSettings line = lineOf(s.state);
  if (isBroadcastFrame(text)) {
    if (!hearsBroadcast(s.state, text, line)) return;
    s.bringUpToDate(t);
    if (text[0] == '#')
      takeSyncSample(s.state, t);
    else
      s.lastHostOk = t.t;
    return;
  }
  const auto command = addressedTo(s.state, text, line);
  if (!command) return;
  s.bringUpToDate(t);
  if (command->lead == '~' && command->body.rfind('2', 0) == 0) s.lastHostOk = t.t;
  const Reply reply = respond(s.state, *command, t);
  checkReply(s.state, *command, reply);
  const std::string bytes = frameReply(*reply, answersWithChecksum(s.state), FaultSpec{});
  require(!bytes.empty() && bytes.back() == '\r', "a reply ends with CR");
}

void run(const std::string& model, Variant variant, const std::vector<std::string>& frames) {
  Station s{makeModule(model, 1)};
  s.state.checksum = variant == Variant::WithChecksum || variant == Variant::RawWithChecksum;
  s.state.initState = variant == Variant::InitState;
  Moment t{1.0};
  for (const auto& frame : frames) {
    const bool append = variant == Variant::WithChecksum && answersWithChecksum(s.state);
    hear(s, append ? frame + orvane::protocol::checksumDigits(frame) : frame, t);
    t.t += 0.25;
  }
}

const std::vector<std::string>& models() {
  // The demo network holds every model once.
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const auto& m : demoNetwork()) all.push_back(m.model);
    return all;
  }();
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> frames;
  std::string_view rest = orvane::fuzz::textOf(data, size);
  while (!rest.empty()) {
    const auto end = rest.find('\r');
    frames.emplace_back(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  for (const auto& model : models())
    for (auto variant :
         {Variant::Plain, Variant::WithChecksum, Variant::RawWithChecksum, Variant::InitState})
      run(model, variant, frames);
  return 0;
}
