#include "module_reader.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <set>
#include <stdexcept>

#include "configuration.h"
#include "digital_common.h"
#include "fault_reader.h"
#include "protocol/catalogue.h"

namespace orvane::sim {
namespace {

using nlohmann::json;
using protocol::ModuleFamily;

// The model names a module reports, exactly: the catalogue's, and those of
// the second series, which answer like their partners.
const std::set<std::string> kModels = {
    "7213", "7215", "7226", "7228", "7231", "7234", "7342", "7347", "7451", "7453", "7455", "7456",
    "7458", "7469", "7472", "7474", "7476", "7586", "7912", "7917", "8213", "8215", "8226", "8228",
    "8347", "8451", "8453", "8455", "8456", "8458", "8469", "8472", "8474", "8476", "8586"};

// Texts a module answers with ("$AAF", "$AA7", the device behind a
// converter): a reply with its address and checksum digits still fits the
// 32-character reply buffer of the library.
constexpr std::size_t kLongestText = 24;

void add(std::set<std::string>& to, std::initializer_list<const char*> keys) {
  to.insert(keys.begin(), keys.end());
}

// The settings a model takes.
std::set<std::string> settingsOf(const std::string& model) {
  const std::string key = protocol::familyKey(model);
  std::set<std::string> s = {"model",    "address",   "baud",     "checksum",
                             "typeCode", "initState", "firmware", "faults"};
  if (protocol::familyOf(model) != ModuleFamily::Converter) add(s, {"format"});
  if (key == "213" || key == "234") add(s, {"cjcTemperature", "cjcError", "cjcOffset"});
  if (inputLineMask(model) != 0) add(s, {"digitalInputs", "toggleMask", "togglePeriod"});
  switch (protocol::familyOf(model)) {
    case ModuleFamily::AnalogInput:
      add(s, {"inputs", "channelMask", "inputError"});
      if (key == "234") add(s, {"openInputs"});
      break;
    case ModuleFamily::MultiFunction:
      add(s, {"inputs", "inputError", "alarm"});
      if (key == "228") add(s, {"mapping"});
      break;
    case ModuleFamily::AnalogOutput:
      add(s, {"outputs"});
      add(s, key == "347" ? std::initializer_list<const char*>{"polarity"}
                          : std::initializer_list<const char*>{"outputError", "outputCorrection"});
      break;
    case ModuleFamily::DigitalIO:
      add(s, {"polarity"});
      if (key == "469") add(s, {"portDirections"});
      break;
    case ModuleFamily::CounterFrequency:
      add(s, {"counters", "counterInputMode", "gateMode"});
      break;
    case ModuleFamily::Converter:
      add(s, {"statusWord", "rs232Baud", "device", "delimiter", "deviceId"});
      break;
    case ModuleFamily::Unknown:
      break;
  }
  return s;
}

const std::set<std::string>& settingsOfAnyModel() {
  static const std::set<std::string> all = [] {
    std::set<std::string> keys;
    for (const auto& model : kModels) keys.merge(settingsOf(model));
    return keys;
  }();
  return all;
}

void checkKeys(const ObjectReader& r, const json& object, const std::string& model) {
  const std::set<std::string> own = settingsOf(model);
  for (const auto& item : object.items()) {
    if (own.count(item.key())) continue;
    if (settingsOfAnyModel().count(item.key()))
      r.fail(item.key(), "not a setting of model " + model);
    r.fail(item.key(), "unknown setting");
  }
}

std::string formatted(const char* format, unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The values from 0x00 to 0xFF that pass, as "0x00 to 0x06, 0x0E to 0x16".
std::string valuesText(const std::function<bool(int)>& passes, const char* format) {
  std::string text;
  for (int v = 0; v <= 0xFF; ++v) {
    if (!passes(v)) continue;
    int last = v;
    while (last < 0xFF && passes(last + 1)) ++last;
    if (!text.empty()) text += ", ";
    text += formatted(format, static_cast<unsigned>(v));
    if (last > v)
      text += (last == v + 1 ? ", " : " to ") + formatted(format, static_cast<unsigned>(last));
    v = last;
  }
  return text;
}

int readTypeCode(const ObjectReader& r, const std::string& model) {
  const auto code = static_cast<int>(r.integer("typeCode", 0, 0xFF));
  const auto passes = [&](int v) { return typeCodeAllowed(model, v); };
  if (!passes(code)) {
    r.fail("typeCode", formatted("0x%02X", static_cast<unsigned>(code)) +
                           " is not a type code of model " + model + " (" +
                           valuesText(passes, "0x%02X") + ")");
  }
  return code;
}

int readFormat(const ObjectReader& r, const std::string& model) {
  const auto format = static_cast<int>(r.integer("format", 0, 0xFF));
  const auto passes = [&](int v) { return formatAllowed(model, v); };
  if (!passes(format)) {
    r.fail("format", std::to_string(format) + " is not a format of model " + model + " (" +
                         valuesText(passes, "%u") + ")");
  }
  return format;
}

int baudCodeOfRate(const ObjectReader& r, const std::string& key) {
  const auto rate = r.integer(key, 0, 1000000);
  for (int code = 0; code < 8; ++code)
    if (protocol::baudRateOf(code) == rate) return code;
  r.fail(key, std::to_string(rate) + " is not a module baud rate");
}

void readIdentity(const ObjectReader& r, ModuleState& m) {
  if (r.has("baud")) m.baudCode = baudCodeOfRate(r, "baud");
  if (r.has("checksum")) m.checksum = r.flag("checksum");
  if (r.has("typeCode")) m.typeCode = readTypeCode(r, m.model);
  if (r.has("format")) m.format = readFormat(r, m.model);
  if (r.has("initState")) m.initState = r.flag("initState");
  if (r.has("firmware")) {
    m.firmware = r.printable("firmware", kLongestText);
    if (m.firmware.empty()) r.fail("firmware", "expected a version such as \"A1.0\"");
  }
}

void readDigital(const ObjectReader& r, ModuleState& m) {
  const std::uint32_t lines = inputLineMask(m.model);
  if (r.has("digitalInputs")) m.digitalInputs = readLines(r, "digitalInputs", lines);
  if (r.has("toggleMask")) m.inputToggleMask = readLines(r, "toggleMask", lines);
  if (r.has("togglePeriod")) m.inputTogglePeriodS = readPeriod(r, "togglePeriod");
  if (r.has("polarity")) m.polarity = static_cast<int>(r.integer("polarity", 0, 3));
  if (r.has("portDirections"))
    m.portDirections = static_cast<int>(r.integer("portDirections", 0, 0x0F));
}

std::uint32_t count(const ObjectReader& c, const std::string& key) {
  return static_cast<std::uint32_t>(c.integer(key, 0, 0xFFFFFFFF));
}

CounterState readCounter(const json& object, const std::string& place, CounterState k) {
  if (!object.is_object()) throw std::invalid_argument(place + ": expected an object { ... }");
  ObjectReader c(object, place);
  c.onlyKeys({"rate", "running", "value", "max", "initial", "alarm", "limit"});
  // A frequency, wandering around its rate, is read in 8 hexadecimal digits.
  if (c.has("rate")) k.ratePerS = c.number("rate", 0, std::floor(0xFFFFFFFF / (1 + k.rateSwing)));
  if (c.has("running")) k.running = c.flag("running");
  if (c.has("max")) k.maxValue = count(c, "max");
  if (c.has("value")) k.value = count(c, "value");
  if (c.has("initial")) k.initialValue = count(c, "initial");
  if (c.has("alarm")) k.alarmEnabled = c.flag("alarm");
  if (c.has("limit")) k.alarmLimit = count(c, "limit");
  if (k.value > k.maxValue)
    c.fail("value", "above the counter's maximum " + std::to_string(k.maxValue));
  if (k.initialValue > k.maxValue)
    c.fail("initial", "above the counter's maximum " + std::to_string(k.maxValue));
  return k;
}

void readCounters(const ObjectReader& r, ModuleState& m) {
  if (r.has("counters")) {
    const json& v = r.at("counters");
    if (!v.is_array()) r.fail("counters", "expected a list");
    if (v.size() > m.counters.size()) r.fail("counters", "at most 2 entries");
    for (std::size_t i = 0; i < v.size(); ++i)
      m.counters[i] =
          readCounter(v[i], r.place() + ".counters[" + std::to_string(i) + "]", m.counters[i]);
  }
  if (r.has("counterInputMode"))
    m.inputMode = static_cast<int>(r.integer("counterInputMode", 0, 1));
  if (r.has("gateMode")) m.gateMode = static_cast<int>(r.integer("gateMode", 0, 2));
}

void readConverter(const ObjectReader& r, ModuleState& m) {
  if (r.has("statusWord")) {
    m.statusWord = static_cast<int>(r.integer("statusWord", 0, 0xFFFF)) & ~0x4000;
    m.format = m.statusWord & 0x03;  // as a configuration command sets it
  }
  if (r.has("rs232Baud")) m.rs232BaudCode = baudCodeOfRate(r, "rs232Baud");
  if (r.has("device")) {
    ObjectReader d(r.object("device"), r.place() + ".device");
    d.onlyKeys({"echo", "reply"});
    if (d.has("echo")) m.device.echo = d.flag("echo");
    if (d.has("reply")) m.device.fixedReply = d.printable("reply", kLongestText);
  }
  if (r.has("delimiter")) {
    const std::string d = r.text("delimiter");
    if (d.size() != 1) r.fail("delimiter", "expected one character");
    if (!delimiterAllowed(d[0]))
      r.fail("delimiter",
             inQuotes(d) +
                 " cannot lead a data pass (a blank, a control character or one of $#%@~&*)");
    m.delimiter = d[0];
  }
  if (r.has("deviceId")) m.deviceId = r.printable("deviceId", kLongestText);
}

}  // namespace

std::uint32_t readLines(const ObjectReader& r, const std::string& key, std::uint32_t have) {
  const auto value = static_cast<std::uint32_t>(r.integer(key, 0, 0xFFFFFFFF));
  if ((value & ~have) != 0) {
    r.fail(key, formatted("0x%X", value) + " sets bits beyond those of the model (" +
                    formatted("0x%X", have) + ")");
  }
  return value;
}

ModuleState readModule(const json& object, const std::string& place,
                       std::vector<FileFault>& faults) {
  if (!object.is_object()) throw std::invalid_argument(place + ": expected an object");
  ObjectReader r(object, place);
  if (!r.has("model")) r.fail("", "the model is missing");
  if (!r.has("address")) r.fail("", "the address is missing");
  const std::string model = r.text("model");
  if (!kModels.count(model)) r.fail("model", "unknown model " + inQuotes(model));
  checkKeys(r, object, model);
  ModuleState m = makeModule(model, static_cast<int>(r.integer("address", 0, 255)));
  readIdentity(r, m);
  readAnalogInputs(r, m);
  readAnalogOutputs(r, m);
  readDigital(r, m);
  readCounters(r, m);
  readConverter(r, m);
  if (r.has("faults")) {
    auto more = readFaults(r, m.address);
    faults.insert(faults.end(), more.begin(), more.end());
  }
  return m;
}

}  // namespace orvane::sim
