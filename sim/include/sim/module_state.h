// The state of one simulated module: what its commands read and change.
// Fields of every family live in one record; a module uses those of its model.
#pragma once

#include <array>
#include <optional>
#include <cstdint>
#include <string>

namespace orvane::sim {

// How a simulated analog input moves.
struct Signal {
  enum class Shape { Constant, Ramp, Sine, Noise } shape = Shape::Constant;
  double value = 0.0;      // constant value, or the centre of the others
  double amplitude = 0.0;  // engineering units
  double periodS = 10.0;
};

struct ModuleState {
  // Identity and configuration.
  std::string model = "7213";  // model name as "$AAM" reports it
  std::string firmware = "A1.0";
  int address = 1;             // stored address
  int typeCode = 0;
  int baudCode = 3;            // BaudCode 0..7 (CC on the wire is BaudCode + 3)
  bool checksum = false;
  int format = 0;              // FF without the checksum bit (data format, gate time, ...)
  bool initState = false;      // answering at 00, 9600, no checksum
  // Settings stored in the initialization state, applied when leaving it.
  std::optional<int> pendingBaudCode;
  std::optional<bool> pendingChecksum;
};

// A module of the model with its catalogue defaults, at an address.
ModuleState makeModule(const std::string& model, int address);

}  // namespace orvane::sim
