#include "sim/network_file.h"

#include <map>
#include <nlohmann/json.hpp>
#include <utility>

#include "json_document.h"
#include "module_reader.h"
#include "object_reader.h"
#include "serial/file_read.h"

namespace orvane::sim {
namespace {

using nlohmann::json;

constexpr int kInitBaudCode = 3;  // 9600 bps

// Where a module answers on the line: its address and baud rate, 00 and
// 9600 bps in the initialization state.
std::pair<int, int> answersAt(const ModuleState& m) {
  return m.initState ? std::pair{0, kInitBaudCode} : std::pair{m.address, m.baudCode};
}

std::string entry(std::size_t i) { return "modules[" + std::to_string(i) + "]"; }

// The simulator knows each module by its stored address, so no two share
// one, not even at two baud rates where a real line would keep them apart.
// Of the addresses they answer at, a module in its initialization state
// makes 00 at 9600 bps one more: it may be taken once.
void checkAddresses(const std::vector<ModuleState>& modules) {
  std::map<int, std::size_t> stored;
  std::map<std::pair<int, int>, std::size_t> answering;
  for (std::size_t i = 0; i < modules.size(); ++i) {
    const auto [it, fresh] = stored.emplace(modules[i].address, i);
    if (!fresh) {
      throw std::invalid_argument(entry(i) + ".address: address " + std::to_string(it->first) +
                                  " is already used by " + entry(it->second));
    }
    const auto [at, free] = answering.emplace(answersAt(modules[i]), i);
    if (!free) {
      throw std::invalid_argument(entry(i) + ": answers at address 00, 9600 bps, as " +
                                  entry(at->second) +
                                  " does (a module in its initialization state answers there)");
    }
  }
}

NetworkSetup readSetup(const json& document) {
  if (!document.is_object() || !document.contains("modules") || !document["modules"].is_array())
    throw std::invalid_argument("top level: expected an object with a list \"modules\"");
  for (const auto& item : document.items())
    if (item.key() != "modules" && item.key() != "comment")
      throw std::invalid_argument(excerpt(item.key()) + ": unknown setting");
  NetworkSetup setup;
  const json& list = document["modules"];
  for (std::size_t i = 0; i < list.size(); ++i)
    setup.modules.push_back(readModule(list[i], entry(i), setup.faults));
  checkAddresses(setup.modules);
  return setup;
}

}  // namespace

NetworkSetup parseNetworkSetup(const std::string& text, const std::string& name) {
  try {
    return readSetup(parseDocument(text, name));
  } catch (const NetworkFileError&) {
    throw;
  } catch (const std::exception& e) {
    // Problems of the settings, and whatever else goes wrong (memory, the JSON library).
    throw NetworkFileError(name + ": " + e.what());
  }
}

NetworkSetup loadNetworkSetup(const std::string& path) {
  std::string text;
  try {
    text = serial::readRegularFile(path);
  } catch (const serial::FileReadError& e) {
    throw NetworkFileError(e.what());
  }
  return parseNetworkSetup(text, path);
}

std::vector<ModuleState> parseNetwork(const std::string& text, const std::string& name) {
  return parseNetworkSetup(text, name).modules;
}

std::vector<ModuleState> loadNetworkFile(const std::string& path) {
  return loadNetworkSetup(path).modules;
}

void applyFaults(Network& network, const std::vector<FileFault>& faults) {
  for (const auto& f : faults) {
    if (f.command)
      network.setFault(f.address, *f.command, f.fault);
    else
      network.setFault(f.address, f.fault);
  }
}

}  // namespace orvane::sim
