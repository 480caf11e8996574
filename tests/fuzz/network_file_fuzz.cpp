// The network file loader: any text either gives modules the simulator can
// run or a NetworkFileError; no other exception and no crash. What it
// accepts is a line on which no two modules answer the same frame, of
// modules configured as a configuration command could set them, whose
// every reply is one a module could give.
#include <set>
#include <string>
#include <utility>

#include "configuration.h"
#include "fuzz_check.h"
#include "module_replies.h"
#include "protocol/catalogue.h"
#include "sim/network_file.h"

namespace {

using namespace orvane::sim;
using orvane::fuzz::require;
using orvane::protocol::ModuleFamily;

void checkModule(ModuleState m) {
  const ModuleFamily family = orvane::protocol::familyOf(m.model);
  require(family != ModuleFamily::Unknown, "a known model");
  require(m.model.size() == 4 && (m.model[0] == '7' || m.model[0] == '8'),
          "the model name exactly, nothing around it");
  require(m.baudCode >= 0 && m.baudCode <= 7, "a BaudCode 0 to 7");
  require(typeCodeAllowed(m.model, m.typeCode), "a type code of the model");
  require(family == ModuleFamily::Converter || formatAllowed(m.model, m.format),
          "a format of the model; the checksum is its own setting");
  double last = 0.0;
  for (double t : {0.0, 0.3, 12345.6}) {
    advance(m, {last}, {t});
    last = t;
    for (const auto& reply : test::readReplies(m, {t}))
      require(!test::problemOf(reply), "every reply is one a module could give");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<ModuleState> modules;
  try {
    modules = parseNetwork(std::string(orvane::fuzz::textOf(data, size)), "fuzz.json");
  } catch (const NetworkFileError&) {
    return 0;
  }
  std::set<int> addresses;
  std::set<std::pair<int, int>> answering;  // address and BaudCode on the line
  for (const auto& m : modules) {
    require(m.address >= 0 && m.address <= 255, "an address 0 to 255");
    require(addresses.insert(m.address).second, "addresses are unique");
    const auto at = m.initState ? std::pair{0, 3} : std::pair{m.address, m.baudCode};
    require(answering.insert(at).second, "no two modules answer the same frame");
    checkModule(m);
  }
  return 0;
}
