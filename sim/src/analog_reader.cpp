// The analog settings of a network file. Readings are limited by the range's
// full scale (no data format shows more: the two's complement of a reading
// ends at 7FFF), limits and mapping points by what the engineering-unit text
// of the range holds, the rest so that every reply keeps its width.
#include <cmath>
#include <cstdio>
#include <map>
#include <stdexcept>

#include "analog_common.h"
#include "families.h"
#include "module_reader.h"
#include "protocol/catalogue.h"

namespace orvane::sim {
namespace {

using nlohmann::json;

// Degrees C. Two of them add up to the cold-junction reading of "$AA3",
// which holds at most 999.99.
constexpr double kCjcMost = 400.0;
// mA. With a gain error of at most 1 (100 % high) the 7342's read-back of
// what it drives stays within its reply, also in percent of its range.
constexpr double kOutputErrorMost = 10.0;

std::string typeCodeText(int typeCode) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", typeCode);
  return text;
}

// A sum of the two could overflow to infinity, so the message names both.
void checkReach(const Signal& s, const std::string& place, int typeCode) {
  const bool moves = s.shape != Signal::Shape::Constant;
  const double fullScale = protocol::fullScale(typeCode);
  if (std::fabs(s.value) + (moves ? std::fabs(s.amplitude) : 0.0) <= fullScale) return;
  throw std::invalid_argument(place + ": the signal " + numberText(s.value) +
                              (moves ? " +/- " + numberText(std::fabs(s.amplitude)) : "") +
                              " goes beyond the full scale " + numberText(fullScale) +
                              " of type code " + typeCodeText(typeCode));
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
  if (r.has("period")) s.periodS = readPeriod(r, "period");
}

// A gain error as a fraction: 0.02 reads or drives 2 % high.
double gainError(const ObjectReader& r) {
  const double gain = r.number("gain");
  if (gain <= -1.0 || gain > 1.0)
    r.fail("gain", "must be above -1 and at most 1 (a fraction: 0.02 is 2 % high)");
  return gain;
}

const json& list(const ObjectReader& r, const std::string& key, std::size_t most) {
  const json& v = r.at(key);
  if (!v.is_array()) r.fail(key, "expected a list");
  if (v.size() > most)
    r.fail(key, "at most " + std::to_string(most) + (most == 1 ? " entry" : " entries"));
  return v;
}

void readInputs(const ObjectReader& r, ModuleState& m) {
  const json& v = list(r, "inputs", static_cast<std::size_t>(channelsOf(m)));
  for (std::size_t i = 0; i < v.size(); ++i) {
    const std::string place = r.place() + ".inputs[" + std::to_string(i) + "]";
    readSignal(v[i], place, m.inputs[i]);
    checkReach(m.inputs[i], place, m.typeCode);
  }
}

// A value written in the engineering units of the module's range, which
// holds it whole only up to its limit (12345.6 would be cut to +2345.6).
double engineeringValue(const ObjectReader& r, const std::string& key, int typeCode) {
  const double limit = protocol::engineeringLimit(typeCode);
  return r.number(key, -limit, limit);
}

void readErrors(const ObjectReader& r, ModuleState& m) {
  if (r.has("cjcTemperature")) m.cjcTemperature = r.number("cjcTemperature", -kCjcMost, kCjcMost);
  if (r.has("cjcError")) m.cjcSensorError = r.number("cjcError", -kCjcMost, kCjcMost);
  if (r.has("cjcOffset")) m.cjcOffset = r.number("cjcOffset", -kCjcMost, kCjcMost);
  if (r.has("inputError")) {
    ObjectReader e(r.object("inputError"), r.place() + ".inputError");
    e.onlyKeys({"offset", "gain"});
    const double fullScale = protocol::fullScale(m.typeCode);
    if (e.has("offset")) m.inputOffsetError = e.number("offset", -fullScale, fullScale);
    if (e.has("gain")) m.inputGainError = gainError(e);
  }
}

void readAlarm(const ObjectReader& r, ModuleState& m) {
  ObjectReader a(r.object("alarm"), r.place() + ".alarm");
  a.onlyKeys({"mode", "low", "high"});
  if (a.has("mode")) m.alarmMode = static_cast<int>(a.integer("mode", 0, 2));
  if (a.has("low")) m.alarmLow = engineeringValue(a, "low", m.typeCode);
  if (a.has("high")) m.alarmHigh = engineeringValue(a, "high", m.typeCode);
}

void readMapping(const ObjectReader& r, ModuleState& m) {
  ObjectReader a(r.object("mapping"), r.place() + ".mapping");
  a.onlyKeys({"enabled", "sourceLow", "sourceHigh", "targetLow", "targetHigh"});
  if (a.has("enabled")) m.mappingEnabled = a.flag("enabled");
  const std::pair<const char*, std::string ModuleState::*> points[] = {
      {"sourceLow", &ModuleState::sourceLow},
      {"sourceHigh", &ModuleState::sourceHigh},
      {"targetLow", &ModuleState::targetLow},
      {"targetHigh", &ModuleState::targetHigh}};
  for (const auto& [key, member] : points) {
    if (a.has(key))
      m.*member = protocol::engineeringText(engineeringValue(a, key, m.typeCode), m.typeCode);
  }
}

}  // namespace

double readPeriod(const ObjectReader& r, const std::string& key) {
  return r.number(key, 0.001, 1e6);
}

void readAnalogInputs(const ObjectReader& r, ModuleState& m) {
  if (r.has("inputs")) readInputs(r, m);
  if (r.has("channelMask"))
    m.channelMask = static_cast<int>(readLines(r, "channelMask", (1u << channelsOf(m)) - 1));
  if (r.has("openInputs"))
    m.openInputs = static_cast<int>(readLines(r, "openInputs", (1u << channelsOf(m)) - 1));
  readErrors(r, m);
  if (r.has("alarm")) readAlarm(r, m);
  if (r.has("mapping")) readMapping(r, m);
}

void readAnalogOutputs(const ObjectReader& r, ModuleState& m) {
  if (r.has("outputs")) {
    const bool quad = protocol::familyKey(m.model) == "347";
    const json& v = list(r, "outputs", quad ? 4 : 1);
    const OutputRange range = outputRange(m);
    for (std::size_t i = 0; i < v.size(); ++i) {
      const std::string key = "outputs[" + std::to_string(i) + "]";
      if (!v[i].is_number()) r.fail(key, "expected a number");
      m.outputs[i] = v[i].get<double>();
      if (m.outputs[i] < range.low || m.outputs[i] > range.high)
        r.fail(key, outsideText(m.outputs[i], range.low, range.high));
    }
  }
  if (r.has("outputError")) {
    ObjectReader e(r.object("outputError"), r.place() + ".outputError");
    e.onlyKeys({"offset", "gain"});
    if (e.has("offset"))
      m.outputOffsetError = e.number("offset", -kOutputErrorMost, kOutputErrorMost);
    if (e.has("gain")) m.outputGainError = gainError(e);
  }
  if (r.has("outputCorrection")) {
    ObjectReader e(r.object("outputCorrection"), r.place() + ".outputCorrection");
    e.onlyKeys({"at4mA", "at20mA"});
    if (e.has("at4mA"))
      m.outputCorrection4 = e.number("at4mA", -kOutputErrorMost, kOutputErrorMost);
    if (e.has("at20mA"))
      m.outputCorrection20 = e.number("at20mA", -kOutputErrorMost, kOutputErrorMost);
  }
}

}  // namespace orvane::sim
