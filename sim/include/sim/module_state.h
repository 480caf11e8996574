// The state of one simulated module: what its commands read and change.
// Fields of every family live in one record; a module uses those of its model.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace orvane::sim {

// How a simulated analog input moves.
struct Signal {
  enum class Shape { Constant, Ramp, Sine, Noise } shape = Shape::Constant;
  double value = 0.0;      // constant value, or the centre of the others
  double amplitude = 0.0;  // engineering units
  double periodS = 10.0;
};

// One of the two counters of the counter/frequency module.
struct CounterState {
  std::uint32_t value = 0;
  std::uint32_t maxValue = 0xFFFFFFFF;
  std::uint32_t initialValue = 0;
  bool running = false;
  bool overflow = false;
  double ratePerS = 0.0;  // pulses per second while running; the frequency in frequency mode
  // Frequency mode: the input frequency wanders by this fraction of ratePerS
  // around it, slowly, so a reading moves as a real signal's would.
  double rateSwing = 0.2;
  bool alarmEnabled = false;
  std::uint32_t alarmLimit = 0;
};

// The RS-232 device behind a converter.
struct Rs232Device {
  bool echo = true;        // answers with the text it was sent
  std::string fixedReply;  // its answer when it does not echo
};

struct ModuleState {
  // Identity and configuration.
  std::string model = "7213";  // model name as "$AAM" reports it
  std::string firmware = "A1.0";
  int address = 1;  // stored address
  int typeCode = 0;
  int baudCode = 3;  // BaudCode 0..7 (CC on the wire is BaudCode + 3)
  bool checksum = false;
  int format = 0;          // FF without the checksum bit (data format, gate time, ...)
  bool initState = false;  // answering at 00, 9600, no checksum
  // Settings stored in the initialization state, applied when leaving it.
  std::optional<int> pendingBaudCode;
  std::optional<bool> pendingChecksum;

  // Supervision, shared by all families.
  int resetStatus = 1;  // 1 after power-on or reset, until read with "$AA5"
  bool watchdogEnabled = false;
  int watchdogTimeout = 0;   // tenths of a second, as sent
  std::string watchdogSafe;  // safe value digits as sent
  bool watchdogTripped = false;
  std::map<std::string, int> calibrations;  // calibration command -> times received

  // Analog inputs (AnalogInput and MultiFunction).
  std::array<Signal, 8> inputs{};
  int channelMask = 0xFF;
  int openInputs = 0;            // bit n: input n open (7234)
  double cjcTemperature = 25.0;  // the sensor's own reading, degrees C
  double cjcOffset = 0.0;        // set by "$AA9", degrees C
  // How far the sensor reads above the terminals it sits on: the terminals
  // are at cjcTemperature - cjcSensorError. A thermocouple reading is off by
  // cjcSensorError + cjcOffset until the cold-junction step sets the offset.
  double cjcSensorError = 0.0;
  // The converter's own error, which offset ("$AA1") and span ("$AA0")
  // calibration remove: it turns a true input x into x * (1 + inputGainError)
  // + inputOffsetError, in engineering units (ohms for RTD ranges, whose
  // references are resistances). All channels share the one converter.
  double inputOffsetError = 0.0;
  double inputGainError = 0.0;
  std::string syncSample;        // data taken by the last "#**"
  bool syncFresh = false;

  // MultiFunction: alarms, event counter, linear mapping (7228).
  int alarmMode = 0;  // 0 disabled, 1 momentary, 2 latch
  double alarmLow = 0.0;
  double alarmHigh = 0.0;
  int latchedAlarms = 0;  // bit 0 low, bit 1 high
  std::uint32_t eventCount = 0;
  bool mappingEnabled = false;
  std::string sourceLow = "+00.000", sourceHigh = "+10.000";
  std::string targetLow = "+00.000", targetHigh = "+10.000";

  // Analog outputs (engineering units; 7342 uses the first).
  std::array<double, 4> outputs{};
  // Trim steps of "$AA3" not stored yet; a stored point takes them, the next
  // output written drops them.
  std::array<int, 4> outputTrim{};
  // 7342: its converter is set to a code in mA (the commanded current, the
  // stored correction at that current and the trim) and drives code * (1 +
  // outputGainError) + outputOffsetError mA; the 0 to 10 V range gives half
  // of that in volts. The corrections are stored at 4 mA ("$AA0") and 20 mA
  // ("$AA1") and apply along the line through both points.
  double outputOffsetError = 0.0;
  double outputGainError = 0.0;
  double outputCorrection4 = 0.0;
  double outputCorrection20 = 0.0;

  // Digital inputs and outputs.
  std::uint32_t digitalInputs = 0;    // the lines as wired (before polarity)
  std::uint32_t inputToggleMask = 0;  // lines that toggle by themselves
  double inputTogglePeriodS = 1.0;
  std::uint32_t digitalOutputs = 0;  // as last commanded
  int polarity = 0;                  // bit 0 inputs inverted, bit 1 outputs inverted
  int portDirections = 0x0F;         // 7469: bit 3 A, 2 B, 1 CH, 0 CL; 1 = input

  // Counter/frequency (7586).
  std::array<CounterState, 2> counters{};
  int inputMode = 0;  // 0 TTL, 1 photo-isolated
  int gateMode = 2;   // 0 low, 1 high, 2 disabled
  bool filterEnabled = false;
  int minWidthHigh = 10, minWidthLow = 10;  // microseconds
  int ttlHigh = 24, ttlLow = 8;             // tenths of a volt

  // Converters (7912, 7917).
  int statusWord = 0x2003;  // addressing, checksum (bit 14), interface, CR, RS-232 format
  int rs232BaudCode = 3;
  bool dataGate = false;
  Rs232Device device;
  char delimiter = '{';
  std::string deviceId;
  std::string leadingCode;
  int rts = 0;
  int cts = 1;
};

// A module of the model with its catalogue defaults, at an address.
ModuleState makeModule(const std::string& model, int address);

// What a meter on an analog output's terminals shows, in engineering units:
// for 7342 its error, corrections and trim applied; for 7347 output A to D
// (channel 0 to 3) as written.
double outputAtTerminals(const ModuleState& m, int channel = 0);

}  // namespace orvane::sim
