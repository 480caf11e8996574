// What changes by itself between two frames: toggling inputs and the event
// counter they drive, running counters, latched alarms, synchronized samples.
#include <cmath>

#include "analog_common.h"
#include "digital_common.h"
#include "families.h"
#include "protocol/catalogue.h"

namespace orvane::sim {
namespace {

using protocol::ModuleFamily;

long togglePhase(const ModuleState& m, Moment now) {
  if (m.inputToggleMask == 0 || m.inputTogglePeriodS <= 0) return 0;
  return static_cast<long>(std::floor(now.t / m.inputTogglePeriodS));
}

// Rising edges of input 0 between two moments: it rises at every odd phase
// when it toggles and rests low.
std::uint32_t risingEdges(const ModuleState& m, Moment from, Moment to) {
  if ((m.inputToggleMask & 1) == 0) return 0;
  const long a = togglePhase(m, from), b = togglePhase(m, to);
  const auto oddUpTo = [](long k) { return k >= 0 ? (k + 1) / 2 : 0; };
  const bool restsLow = (m.digitalInputs & 1) == 0;
  const long rising = restsLow ? oddUpTo(b) - oddUpTo(a) : (b / 2) - (a / 2);
  return rising > 0 ? static_cast<std::uint32_t>(rising) : 0;
}

void runCounter(CounterState& k, double dt) {
  if (!k.running || k.ratePerS <= 0 || dt <= 0) return;
  const double pulses = std::floor(k.ratePerS * dt + 0.5);
  double next = static_cast<double>(k.value) + pulses;
  const double span = static_cast<double>(k.maxValue) - k.initialValue + 1.0;
  if (next > k.maxValue && span > 0) {
    k.overflow = true;
    next = k.initialValue + std::fmod(next - k.maxValue - 1.0, span);
  }
  k.value = static_cast<std::uint32_t>(next);
}

}  // namespace

std::uint32_t wiredInputs(const ModuleState& m, Moment now) {
  return (togglePhase(m, now) & 1) != 0 ? m.digitalInputs ^ m.inputToggleMask : m.digitalInputs;
}

void advance(ModuleState& m, Moment from, Moment to) {
  switch (protocol::familyOf(m.model)) {
    case ModuleFamily::MultiFunction:
      m.eventCount += risingEdges(m, from, to);
      if (m.alarmMode == 2) m.latchedAlarms |= alarmCondition(m, to);
      break;
    case ModuleFamily::CounterFrequency:
      if (m.typeCode == 0x50) {
        for (auto& k : m.counters) runCounter(k, to.t - from.t);
      }
      break;
    default:
      break;
  }
}

void takeSyncSample(ModuleState& m, Moment now) {
  switch (protocol::familyOf(m.model)) {
    case ModuleFamily::AnalogInput:
      m.syncSample = analogSyncSample(m, now);
      break;
    case ModuleFamily::MultiFunction:
      m.syncSample = multiFunctionReading(m, now);
      break;
    case ModuleFamily::AnalogOutput:
      m.syncSample = quadOutputSyncSample(m, now);
      break;
    case ModuleFamily::DigitalIO:
      m.syncSample =
          protocol::familyKey(m.model) == "469" ? port7469Data(m, now) : digitalData(m, now);
      break;
    default:
      return;
  }
  m.syncFresh = true;
}

}  // namespace orvane::sim
