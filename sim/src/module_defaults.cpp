// Catalogue defaults of every model, and the built-in demo network.
#include <stdexcept>

#include "protocol/catalogue.h"
#include "sim/module_state.h"
#include "sim/network.h"

namespace orvane::sim {
namespace {

using protocol::ModuleFamily;
using Shape = Signal::Shape;

Signal signal(Shape shape, double value, double amplitude, double periodS) {
  return Signal{shape, value, amplitude, periodS};
}

void analogInputDefaults(ModuleState& m, const std::string& key) {
  if (key == "226") {
    m.typeCode = 0x20;  // Pt, +/- 100C
    m.inputs[0] = signal(Shape::Sine, 25.0, 10.0, 20.0);
    m.inputs[1] = signal(Shape::Noise, 40.0, 0.5, 1.0);
    m.inputs[2] = signal(Shape::Ramp, -20.0, 30.0, 30.0);
    m.channelMask = 0x07;
    return;
  }
  if (key == "231") {
    m.typeCode = 0x08;  // +/- 10V
    for (int n = 0; n < 8; ++n)
      m.inputs[static_cast<std::size_t>(n)] =
          signal(n % 2 ? Shape::Ramp : Shape::Sine, n - 3.5, 1.5, 5.0 + n);
    return;
  }
  m.typeCode = 0x0F;  // T/C Type K
  for (int n = 0; n < 8; ++n)
    m.inputs[static_cast<std::size_t>(n)] = signal(Shape::Sine, 100.0 + 50.0 * n, 20.0, 15.0 + n);
  m.openInputs = 0x80;  // the last thermocouple is not wired
}

void multiFunctionDefaults(ModuleState& m, const std::string& key) {
  m.inputToggleMask = 0x01;  // the digital input pulses, so the event counter counts
  m.inputTogglePeriodS = 0.5;
  if (key == "213") {
    m.typeCode = 0x0E;  // T/C Type J
    m.inputs[0] = signal(Shape::Sine, 120.0, 30.0, 20.0);
    m.alarmLow = 100.0;
    m.alarmHigh = 140.0;
    return;
  }
  m.typeCode = 0x08;  // +/- 10V
  m.inputs[0] =
      key == "228" ? signal(Shape::Ramp, 5.0, 4.0, 12.0) : signal(Shape::Sine, 2.5, 5.0, 8.0);
  m.alarmLow = -1.0;
  m.alarmHigh = 6.0;
}

void digitalDefaults(ModuleState& m, const std::string& key) {
  m.typeCode = 0x40;
  m.digitalInputs = 0x0005;
  m.inputToggleMask = key == "469" ? 0x0F0000FF : 0x0003;
  m.inputTogglePeriodS = 1.0;
  if (key == "469") m.portDirections = 0x00;  // all ports out until "$AASMM" says otherwise
}

}  // namespace

ModuleState makeModule(const std::string& model, int address) {
  ModuleState m;
  m.model = model;
  m.address = address;
  const std::string key = protocol::familyKey(model);
  switch (protocol::familyOf(model)) {
    case ModuleFamily::AnalogInput:
      analogInputDefaults(m, key);
      break;
    case ModuleFamily::MultiFunction:
      multiFunctionDefaults(m, key);
      break;
    case ModuleFamily::AnalogOutput:
      m.typeCode = key == "347" ? 0x33 : 0x30;
      m.outputs[0] = key == "347" ? 0.0 : 4.0;
      m.digitalInputs = 0x15;
      m.inputToggleMask = 0x41;
      break;
    case ModuleFamily::DigitalIO:
      digitalDefaults(m, key);
      break;
    case ModuleFamily::CounterFrequency:
      m.typeCode = 0x50;
      m.counters[0].running = true;
      m.counters[0].ratePerS = 10.0;
      m.counters[1].running = true;
      m.counters[1].ratePerS = 3.0;
      m.counters[1].maxValue = 1000;
      break;
    case ModuleFamily::Converter:
      m.typeCode = 0x40;
      m.format = 0x03;
      break;
    case ModuleFamily::Unknown:
      throw std::invalid_argument("unknown model \"" + model + "\"");
  }
  return m;
}

std::vector<ModuleState> demoNetwork() {
  const char* models[] = {"7213", "7215", "7228", "7226", "7231", "7234", "7342",
                          "7347", "7451", "7453", "7455", "7456", "7458", "7469",
                          "7472", "7474", "7476", "7586", "7912", "7917"};
  std::vector<ModuleState> modules;
  int address = 1;
  for (const char* model : models) modules.push_back(makeModule(model, address++));
  auto at = [&](int a) -> ModuleState& { return modules[static_cast<std::size_t>(a - 1)]; };
  at(2).checksum = true;         // 7215 answers only with checksum
  at(5).baudCode = 4;            // 7231 at 19200
  at(15).baudCode = 6;           // 7472 at 115200
  at(20).initState = true;       // 7917 answers at 00, reports its stored address 20
  at(14).portDirections = 0x0C;  // 7469: ports A and B in, so their inputs move
  // Port B rests at 09 and toggles with port A.
  at(14).digitalInputs |= 0x0900;
  at(14).inputToggleMask |= 0xFF00;
  // Three modules out of calibration, so that calibrating them shows: the
  // 7213 reads low and its cold-junction sensor 0.7 degrees low; the 7234
  // reads high, and its sensor and stored offset put the cold junction 2.3
  // degrees high; the 7342 drives 4 mA 5 steps high and 20 mA 8 steps low.
  at(1).inputOffsetError = -3.0;
  at(1).inputGainError = -0.01;
  at(1).cjcSensorError = -0.7;
  at(6).inputOffsetError = 4.0;
  at(6).inputGainError = 0.015;
  at(6).cjcSensorError = 1.5;
  at(6).cjcOffset = 0.8;
  at(7).outputOffsetError = 0.0403;
  at(7).outputGainError = -0.00397;
  return modules;
}

}  // namespace orvane::sim
