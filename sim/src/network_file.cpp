#include "sim/network_file.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "fault_reader.h"
#include "json_document.h"
#include "object_reader.h"
#include "protocol/catalogue.h"

namespace orvane::sim {
namespace {

using nlohmann::json;

const std::set<std::string> kModuleKeys = {
    "model",         "address",          "baud",         "checksum",        "typeCode",
    "format",        "initState",        "firmware",     "inputs",          "channelMask",
    "openInputs",    "cjcTemperature",   "alarm",        "mapping",         "outputs",
    "digitalInputs", "toggleMask",       "togglePeriod", "polarity",        "portDirections",
    "counters",      "counterInputMode", "gateMode",     "statusWord",      "rs232Baud",
    "device",        "delimiter",        "deviceId",     "faults",          "inputError",
    "cjcError",      "cjcOffset",        "outputError",  "outputCorrection"};

int baudCodeOfRate(const ObjectReader& r, const std::string& key) {
  const auto rate = r.integer(key, 0, 1000000);
  for (int code = 0; code < 8; ++code)
    if (protocol::baudRateOf(code) == rate) return code;
  r.fail(key, std::to_string(rate) + " is not a module baud rate");
}

void readSignal(const json& object, const std::string& place, Signal& s) {
  if (object.is_number()) {
    s = Signal{Signal::Shape::Constant, object.get<double>(), 0, 1};
    return;
  }
  if (!object.is_object())
    throw std::invalid_argument(place + ": expected a number or a signal object");
  ObjectReader r(object, place);
  r.onlyKeys({"shape", "value", "amplitude", "period"});
  const std::map<std::string, Signal::Shape> shapes = {{"constant", Signal::Shape::Constant},
                                                       {"ramp", Signal::Shape::Ramp},
                                                       {"sine", Signal::Shape::Sine},
                                                       {"noise", Signal::Shape::Noise}};
  if (r.has("shape")) {
    const auto it = shapes.find(r.text("shape"));
    if (it == shapes.end()) r.fail("shape", "expected constant, ramp, sine or noise");
    s.shape = it->second;
  }
  if (r.has("value")) s.value = r.number("value");
  if (r.has("amplitude")) s.amplitude = r.number("amplitude");
  if (r.has("period")) {
    s.periodS = r.number("period");
    if (s.periodS <= 0) r.fail("period", "must be above 0 seconds");
  }
}

// A gain error as a fraction: 0.02 reads or drives 2 % high.
double gainError(const ObjectReader& r) {
  const double gain = r.number("gain");
  if (gain <= -1.0) r.fail("gain", "must be above -1 (a fraction: 0.02 is 2 % high)");
  return gain;
}

const json& list(const ObjectReader& r, const std::string& key, std::size_t most) {
  const json& v = r.at(key);
  if (!v.is_array()) r.fail(key, "expected a list");
  if (v.size() > most) r.fail(key, "at most " + std::to_string(most) + " entries");
  return v;
}

void readAnalog(const ObjectReader& r, ModuleState& m) {
  if (r.has("inputs")) {
    const json& v = list(r, "inputs", m.inputs.size());
    for (std::size_t i = 0; i < v.size(); ++i)
      readSignal(v[i], r.place() + ".inputs[" + std::to_string(i) + "]", m.inputs[i]);
  }
  if (r.has("channelMask")) m.channelMask = static_cast<int>(r.integer("channelMask", 0, 0xFF));
  if (r.has("openInputs")) m.openInputs = static_cast<int>(r.integer("openInputs", 0, 0xFF));
  if (r.has("cjcTemperature")) m.cjcTemperature = r.number("cjcTemperature");
  if (r.has("cjcError")) m.cjcSensorError = r.number("cjcError");
  if (r.has("cjcOffset")) m.cjcOffset = r.number("cjcOffset");
  if (r.has("inputError")) {
    ObjectReader e(r.object("inputError"), r.place() + ".inputError");
    e.onlyKeys({"offset", "gain"});
    if (e.has("offset")) m.inputOffsetError = e.number("offset");
    if (e.has("gain")) m.inputGainError = gainError(e);
  }
  if (r.has("alarm")) {
    ObjectReader a(r.object("alarm"), r.place() + ".alarm");
    a.onlyKeys({"mode", "low", "high"});
    if (a.has("mode")) m.alarmMode = static_cast<int>(a.integer("mode", 0, 2));
    if (a.has("low")) m.alarmLow = a.number("low");
    if (a.has("high")) m.alarmHigh = a.number("high");
  }
  if (r.has("mapping")) {
    ObjectReader a(r.object("mapping"), r.place() + ".mapping");
    a.onlyKeys({"enabled", "sourceLow", "sourceHigh", "targetLow", "targetHigh"});
    if (a.has("enabled")) m.mappingEnabled = a.flag("enabled");
    if (a.has("sourceLow"))
      m.sourceLow = protocol::engineeringText(a.number("sourceLow"), m.typeCode);
    if (a.has("sourceHigh"))
      m.sourceHigh = protocol::engineeringText(a.number("sourceHigh"), m.typeCode);
    if (a.has("targetLow"))
      m.targetLow = protocol::engineeringText(a.number("targetLow"), m.typeCode);
    if (a.has("targetHigh"))
      m.targetHigh = protocol::engineeringText(a.number("targetHigh"), m.typeCode);
  }
  if (r.has("outputs")) {
    const json& v = list(r, "outputs", m.outputs.size());
    for (std::size_t i = 0; i < v.size(); ++i) {
      if (!v[i].is_number()) r.fail("outputs[" + std::to_string(i) + "]", "expected a number");
      m.outputs[i] = v[i].get<double>();
    }
  }
  if (r.has("outputError")) {
    ObjectReader e(r.object("outputError"), r.place() + ".outputError");
    e.onlyKeys({"offset", "gain"});
    if (e.has("offset")) m.outputOffsetError = e.number("offset");
    if (e.has("gain")) m.outputGainError = gainError(e);
  }
  if (r.has("outputCorrection")) {
    ObjectReader e(r.object("outputCorrection"), r.place() + ".outputCorrection");
    e.onlyKeys({"at4mA", "at20mA"});
    if (e.has("at4mA")) m.outputCorrection4 = e.number("at4mA");
    if (e.has("at20mA")) m.outputCorrection20 = e.number("at20mA");
  }
}

void readDigital(const ObjectReader& r, ModuleState& m) {
  if (r.has("digitalInputs"))
    m.digitalInputs = static_cast<std::uint32_t>(r.integer("digitalInputs", 0, 0xFFFFFFF));
  if (r.has("toggleMask"))
    m.inputToggleMask = static_cast<std::uint32_t>(r.integer("toggleMask", 0, 0xFFFFFFF));
  if (r.has("togglePeriod")) {
    m.inputTogglePeriodS = r.number("togglePeriod");
    if (m.inputTogglePeriodS <= 0) r.fail("togglePeriod", "must be above 0 seconds");
  }
  if (r.has("polarity")) m.polarity = static_cast<int>(r.integer("polarity", 0, 3));
  if (r.has("portDirections"))
    m.portDirections = static_cast<int>(r.integer("portDirections", 0, 0x0F));
}

void readCounters(const ObjectReader& r, ModuleState& m) {
  if (r.has("counters")) {
    const json& v = list(r, "counters", 2);
    for (std::size_t i = 0; i < v.size(); ++i) {
      if (!v[i].is_object())
        r.fail("counters[" + std::to_string(i) + "]", "expected an object { ... }");
      ObjectReader c(v[i], r.place() + ".counters[" + std::to_string(i) + "]");
      c.onlyKeys({"rate", "running", "value", "max", "initial", "alarm", "limit"});
      CounterState& k = m.counters[i];
      if (c.has("rate")) k.ratePerS = c.number("rate");
      if (c.has("running")) k.running = c.flag("running");
      if (c.has("value")) k.value = static_cast<std::uint32_t>(c.integer("value", 0, 0xFFFFFFFF));
      if (c.has("max")) k.maxValue = static_cast<std::uint32_t>(c.integer("max", 0, 0xFFFFFFFF));
      if (c.has("initial"))
        k.initialValue = static_cast<std::uint32_t>(c.integer("initial", 0, 0xFFFFFFFF));
      if (c.has("alarm")) k.alarmEnabled = c.flag("alarm");
      if (c.has("limit"))
        k.alarmLimit = static_cast<std::uint32_t>(c.integer("limit", 0, 0xFFFFFFFF));
    }
  }
  if (r.has("counterInputMode"))
    m.inputMode = static_cast<int>(r.integer("counterInputMode", 0, 1));
  if (r.has("gateMode")) m.gateMode = static_cast<int>(r.integer("gateMode", 0, 2));
}

void readConverter(const ObjectReader& r, ModuleState& m) {
  if (r.has("statusWord"))
    m.statusWord = static_cast<int>(r.integer("statusWord", 0, 0xFFFF)) & ~0x4000;
  if (r.has("rs232Baud")) m.rs232BaudCode = baudCodeOfRate(r, "rs232Baud");
  if (r.has("device")) {
    ObjectReader d(r.object("device"), r.place() + ".device");
    d.onlyKeys({"echo", "reply"});
    if (d.has("echo")) m.device.echo = d.flag("echo");
    if (d.has("reply")) m.device.fixedReply = d.text("reply");
  }
  if (r.has("delimiter")) {
    const std::string d = r.text("delimiter");
    if (d.size() != 1) r.fail("delimiter", "expected one character");
    m.delimiter = d[0];
  }
  if (r.has("deviceId")) m.deviceId = r.text("deviceId");
}

ModuleState readModule(const json& object, const std::string& place,
                       std::vector<FileFault>& faults) {
  if (!object.is_object()) throw std::invalid_argument(place + ": expected an object");
  ObjectReader r(object, place);
  r.onlyKeys(kModuleKeys);
  if (!r.has("model")) r.fail("", "the model is missing");
  if (!r.has("address")) r.fail("", "the address is missing");
  const std::string model = r.text("model");
  if (protocol::familyOf(model) == protocol::ModuleFamily::Unknown)
    r.fail("model", "unknown model \"" + model + "\"");
  ModuleState m = makeModule(model, static_cast<int>(r.integer("address", 0, 255)));
  if (r.has("baud")) m.baudCode = baudCodeOfRate(r, "baud");
  if (r.has("checksum")) m.checksum = r.flag("checksum");
  if (r.has("typeCode")) m.typeCode = static_cast<int>(r.integer("typeCode", 0, 0xFF));
  if (r.has("format")) m.format = static_cast<int>(r.integer("format", 0, 0xBF)) & ~0x40;
  if (r.has("initState")) m.initState = r.flag("initState");
  if (r.has("firmware")) m.firmware = r.text("firmware");
  readAnalog(r, m);
  readDigital(r, m);
  readCounters(r, m);
  readConverter(r, m);
  if (r.has("faults")) {
    auto more = readFaults(r, m.address);
    faults.insert(faults.end(), more.begin(), more.end());
  }
  return m;
}

NetworkSetup readSetup(const json& document) {
  if (!document.is_object() || !document.contains("modules") || !document["modules"].is_array())
    throw std::invalid_argument("top level: expected an object with a list \"modules\"");
  for (const auto& item : document.items())
    if (item.key() != "modules" && item.key() != "comment")
      throw std::invalid_argument(item.key() + ": unknown setting");
  NetworkSetup setup;
  std::map<int, std::size_t> firstAt;
  const json& list = document["modules"];
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string place = "modules[" + std::to_string(i) + "]";
    setup.modules.push_back(readModule(list[i], place, setup.faults));
    const auto [it, fresh] = firstAt.emplace(setup.modules.back().address, i);
    if (!fresh) {
      throw std::invalid_argument(place + ".address: address " + std::to_string(it->first) +
                                  " is already used by modules[" + std::to_string(it->second) +
                                  "]");
    }
  }
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
  std::error_code error;
  if (std::filesystem::is_directory(path, error))
    throw NetworkFileError(path + ": is a directory, not a network file");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw NetworkFileError(path + ": cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  return parseNetworkSetup(text.str(), path);
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
