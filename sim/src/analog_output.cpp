// Analog output modules: 7342 (one output in its range and data format) and
// 7347 (four +/-10 V outputs A to D and seven digital inputs); output
// read-back and the output calibration commands.
//
// Calibration of 7342: its converter is set to a code in mA, the commanded
// current plus the correction stored for it plus the trim. "$AA0" takes the
// code it is set to as the one for 4 mA and "$AA1" as the one for 20 mA, so
// a point stored while the output is elsewhere (another range, another
// value) is stored wrong, as on the real module.
#include <algorithm>
#include <cmath>

#include "digital_common.h"
#include "families.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::sim {
namespace {

bool isQuad(const ModuleState& m) { return protocol::familyKey(m.model) == "347"; }

constexpr double kTrimStep = 20.0 / 4096;  // mA: one count of the converter
constexpr int kVoltRange = 0x32;           // 0 to 10 V: 10 V for a code of 20 mA

double lowEnd(const ModuleState& m) { return outputRange(m).low; }
double highEnd(const ModuleState& m) { return outputRange(m).high; }

std::string signedValue(double v) {
  return (v < 0 ? "-" : "+") + protocol::formatPattern(std::fabs(v), "00.000");
}

// An output value of 7342 in its data format, as it is written and read back.
std::string outputText(const ModuleState& m, double v) {
  const double low = lowEnd(m), span = highEnd(m) - low;
  switch (m.format & 0x03) {
    case 1: {
      const double percent = span > 0 ? (v - low) / span * 100.0 : 0.0;
      return (percent < 0 ? "-" : "+") + protocol::formatPattern(std::fabs(percent), "000.00");
    }
    case 2: {
      const long count = std::lround(span > 0 ? (v - low) / span * 4095.0 : 0.0);
      return protocol::hex2(static_cast<std::uint32_t>(std::clamp(count, 0L, 4095L)), 3);
    }
    default:
      return protocol::formatPattern(v, "00.000");
  }
}

double commandedCurrent(const ModuleState& m) {
  return m.typeCode == kVoltRange ? m.outputs[0] * 2.0 : m.outputs[0];
}

double correctionAt(const ModuleState& m, double current) {
  return m.outputCorrection4 +
         (m.outputCorrection20 - m.outputCorrection4) * (current - 4.0) / 16.0;
}

double converterCode(const ModuleState& m) {
  const double current = commandedCurrent(m);
  return current + correctionAt(m, current) + m.outputTrim[0] * kTrimStep;
}

// The value a write asks for in engineering units; nullopt when malformed.
std::optional<double> requested(const ModuleState& m, const std::string& text) {
  const double low = lowEnd(m), span = highEnd(m) - low;
  if ((m.format & 0x03) == 2) {
    if (text.size() != 3 || !allHex(text)) return std::nullopt;
    return low + span * protocol::hexValue(text) / 4095.0;
  }
  if (!protocol::isDecimalNumber(text)) return std::nullopt;
  const double v = protocol::decimalValue(text);
  return (m.format & 0x03) == 1 ? low + span * v / 100.0 : v;
}

Reply writeSingle(ModuleState& m, const Command& c) {
  const auto v = requested(m, c.body);
  constexpr double kSlack = 1e-9;
  if (!v || *v < lowEnd(m) - kSlack || *v > highEnd(m) + kSlack) return refused(c);
  m.outputs[0] = *v;
  m.outputTrim[0] = 0;
  return dataReply("");
}

Reply writeQuad(ModuleState& m, const Command& c) {
  const std::string& b = c.body;
  if (b.size() < 2 || b[0] < 'A' || b[0] > 'D' || !protocol::isDecimalNumber(b.substr(1)))
    return refused(c);
  const double v = protocol::decimalValue(b.substr(1));
  if (v < lowEnd(m) || v > highEnd(m)) return refused(c);
  m.outputs[static_cast<std::size_t>(b[0] - 'A')] = v;
  return dataReply("");
}

// The point the converter's code now stands for.
void storePoint(ModuleState& m, bool at20mA) {
  const double code = converterCode(m);
  if (at20mA)
    m.outputCorrection20 = code - 20.0;
  else
    m.outputCorrection4 = code - 4.0;
  m.outputTrim[0] = 0;
}

Reply calibration(ModuleState& m, const Command& c) {
  const std::string& b = c.body;
  if (b == "0" || b == "1") {  // store the 4 mA or the 20 mA point
    if (!isQuad(m)) storePoint(m, b == "1");
    ++m.calibrations["$" + b];
    return accepted(c);
  }
  if (b == "301" || b == "3FF") {
    m.outputTrim[0] += b == "301" ? 1 : -1;
    ++m.calibrations["$" + b];
    return accepted(c);
  }
  return std::nullopt;
}

Reply setting(ModuleState& m, const Command& c, Moment now) {
  const std::string& b = c.body;
  if (!isQuad(m)) {
    if (b == "6") return accepted(c, outputText(m, m.outputs[0]));
    // What the output drives, as a readback at its terminals measures it.
    if (b == "8") return accepted(c, outputText(m, outputAtTerminals(m)));
    return calibration(m, c);
  }
  if (b == "6") return accepted(c, signedValue(m.outputs[0]));
  if (b.size() == 2 && b[0] == '6' && b[1] >= 'A' && b[1] <= 'D')
    return accepted(c, signedValue(m.outputs[static_cast<std::size_t>(b[1] - 'A')]));
  if (b == "8") return "!" + protocol::hex2(reportedInputs(m, now) & 0x7F) + "0000";
  if (b == "9") return digitalSyncReply(m);
  return calibration(m, c);
}

}  // namespace

OutputRange outputRange(const ModuleState& m) {
  if (isQuad(m)) return {-10.0, 10.0};
  return {m.typeCode == 0x31 ? 4.0 : 0.0, protocol::fullScale(m.typeCode)};
}

double outputAtTerminals(const ModuleState& m, int channel) {
  if (isQuad(m)) return m.outputs.at(static_cast<std::size_t>(channel));
  const double current = converterCode(m) * (1.0 + m.outputGainError) + m.outputOffsetError;
  return m.typeCode == kVoltRange ? current / 2.0 : current;
}

std::string quadOutputSyncSample(const ModuleState& m, Moment now) {
  return protocol::hex2(reportedInputs(m, now) & 0x7F) + "0000";
}

Reply handleAnalogOutput(ModuleState& m, const Command& c, Moment now) {
  switch (c.lead) {
    case '#':
      return isQuad(m) ? writeQuad(m, c) : writeSingle(m, c);
    case '$':
      return setting(m, c, now);
    case '~':
      return isQuad(m) ? polarityCommand(m, c) : std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace orvane::sim
