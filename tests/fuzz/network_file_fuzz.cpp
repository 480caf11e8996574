// The network file loader: any text either gives modules the simulator can
// run or a NetworkFileError; no other exception and no crash.
#include <set>
#include <string>

#include "fuzz_check.h"
#include "protocol/catalogue.h"
#include "sim/network_file.h"

using orvane::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<orvane::sim::ModuleState> modules;
  try {
    modules = orvane::sim::parseNetwork(std::string(orvane::fuzz::textOf(data, size)), "fuzz.json");
  } catch (const orvane::sim::NetworkFileError&) {
    return 0;
  }
  std::set<int> addresses;
  for (const auto& m : modules) {
    require(orvane::protocol::familyOf(m.model) != orvane::protocol::ModuleFamily::Unknown,
            "a known model");
    require(m.address >= 0 && m.address <= 255, "an address 0 to 255");
    require(addresses.insert(m.address).second, "addresses are unique");
    require(m.baudCode >= 0 && m.baudCode <= 7, "a BaudCode 0 to 7");
    require((m.format & 0x40) == 0, "the checksum is its own setting, not a format bit");
  }
  return 0;
}
