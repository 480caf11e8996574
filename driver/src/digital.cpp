// Digital I/O: outputs by port and by line, inputs and output read-back, each
// in the command layout of its model; I/O mode and polarity.
#include <array>
#include <string>

#include "models.h"
#include "operations.h"

using namespace orvane::driver;

namespace {

bool isOneOf(int model, std::initializer_list<int> models) {
  for (int m : models)
    if (m == model) return true;
  return false;
}

// A digital reply digit: up to "9" its code minus "0", else its code minus 55
// (upper-case "A" to "F" give 10 to 15); most significant digit first. Stops
// where the reply ends.
uint32_t digitalHex(const std::string& reply, std::size_t position, std::size_t count) {
  uint32_t value = 0;
  for (std::size_t i = position; i < position + count && i < reply.size(); ++i) {
    char c = reply[i];
    value = value * 16 + static_cast<uint32_t>(c <= '9' ? c - '0' : c - 55);
  }
  return value;
}

// Plain rows have one template and no groups: their selector is ignored.
// Constant tables without destructors, so that a call still running while
// the process exits finds them intact.
struct PortRow {
  uint16_t limit;
  std::size_t groups;  // 0: no groups
  std::array<const char*, 3> patterns;
};

const PortRow* portRowOf(int model) {
  static constexpr PortRow kMulti{3, 0, {"@%02XDO%02X"}};
  static constexpr PortRow kByte{255, 0, {"#%02X00%02X"}};
  static constexpr PortRow kNibble{15, 0, {"#%02X00%02X"}};
  static constexpr PortRow kTwoGroups{255, 2, {"#%02X0L%02X", "#%02X0H%02X"}};
  static constexpr PortRow kThreeGroups{255, 3, {"#%02X0A%02X", "#%02X0B%02X", "#%02X0C%02X"}};
  if (isOneOf(model, {7213, 7215, 7228, 7586})) return &kMulti;
  if (isOneOf(model, {7451, 7474, 7476})) return &kByte;
  if (model == 7472) return &kNibble;
  if (model == 7458) return &kTwoGroups;
  if (model == 7469) return &kThreeGroups;
  return nullptr;
}

struct LineRow {
  std::size_t groups;
  std::array<const char*, 3> patterns;
};

const LineRow* lineRowOf(int model) {
  static constexpr LineRow kPlain{1, {"#%02X1%X%02X"}};
  static constexpr LineRow kTwoGroups{2, {"#%02XL%X%X", "#%02XH%X%X"}};
  static constexpr LineRow kThreeGroups{3, {"#%02XA%X%X", "#%02XB%X%X", "#%02XC%X%X"}};
  if (isOneOf(model, {7451, 7472, 7474, 7476})) return &kPlain;
  if (model == 7458) return &kTwoGroups;
  if (model == 7469) return &kThreeGroups;
  return nullptr;
}

// How a model's inputs are read: the command and the digits of the value.
struct InputRead {
  const char* pattern;
  std::size_t position;
  std::size_t digits;
};

const InputRead* inputReadOf(int model) {
  static constexpr InputRead kMulti{"@%02XDI", 7, 1};
  static constexpr InputRead k7347{"$%02X8", 1, 2};
  static constexpr InputRead kLowByte{"$%02X6", 3, 2};
  static constexpr InputRead kHighByte{"$%02X6", 1, 2};
  static constexpr InputRead kWord{"$%02X6", 1, 4};
  static constexpr InputRead k7469{"$%02X6", 4, 7};
  if (isOneOf(model, {7213, 7215, 7228})) return &kMulti;
  if (model == 7347) return &k7347;
  if (isOneOf(model, {7451, 7472})) return &kLowByte;
  if (model == 7453) return &kHighByte;
  if (isOneOf(model, {7455, 7456})) return &kWord;
  if (model == 7469) return &k7469;
  return nullptr;
}

uint16_t refuseModel(uint16_t port, uint16_t model) {
  return refuse(port, OV_BAD_MODEL,
                format("model %u is not handled by this operation; nothing was sent", model));
}

uint16_t refuseGroup(uint16_t port, uint16_t group, uint16_t model) {
  return refuse(
      port, OV_BAD_PORT_GROUP,
      format("port group %u is out of range for model %u; nothing was sent", group, model));
}

}  // namespace

extern "C" {

uint16_t OV_WriteDOPort(uint16_t port, uint16_t address, uint16_t group, uint16_t value,
                        uint16_t model) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  const PortRow* row = portRowOf(firstSeriesModel(model));
  if (!row) return refuseModel(port, model);
  if (value > row->limit)
    return refuse(port, OV_BAD_VALUE,
                  format("output value %u is above %u for model %u; nothing was sent", value,
                         row->limit, model));
  if (row->groups > 0 && group >= row->groups) return refuseGroup(port, group, model);
  const char* pattern = row->patterns[row->groups > 0 ? group : 0];
  return sendCommand(port, address, format(pattern, address, value));
}

uint16_t OV_WriteDOLine(uint16_t port, uint16_t address, uint16_t group, uint16_t line,
                        uint16_t state, uint16_t model) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  if (state > 1)
    return refuse(port, OV_BAD_VALUE,
                  format("line state %u is not 0 or 1; nothing was sent", state));
  const LineRow* row = lineRowOf(firstSeriesModel(model));
  if (!row) return refuseModel(port, model);
  if (group >= row->groups) return refuseGroup(port, group, model);
  return sendCommand(port, address, format(row->patterns[group], address, line, state));
}

uint16_t OV_ReadDI(uint16_t port, uint16_t address, uint32_t* value, uint16_t model) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  const InputRead* read = inputReadOf(firstSeriesModel(model));
  if (!read) return refuseModel(port, model);
  return query(port, address, format(read->pattern, address), [&](const std::string& reply) {
    if (read->digits == 1)
      put(value, digitAt(reply, read->position));
    else
      put(value, digitalHex(reply, read->position, read->digits));
  });
}

uint16_t OV_ReadBackDO(uint16_t port, uint16_t address, uint16_t* value, uint16_t model) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  int first = firstSeriesModel(model);
  if (isOneOf(first, {7213, 7215, 7228, 7586}))
    return query(port, address, format("@%02XDI", address), [&](const std::string& reply) {
      put(value, 2 * digitAt(reply, 4) + digitAt(reply, 5));
    });
  std::size_t digits = isOneOf(first, {7451, 7472}) ? 2 : first == 7458 ? 4 : 0;
  if (digits == 0) return refuseModel(port, model);
  return query(port, address, format("$%02X6", address),
               [&](const std::string& reply) { put(value, digitalHex(reply, 1, digits)); });
}

uint16_t OV_SetDioMode(uint16_t port, uint16_t address, uint16_t mode) {
  return sendCommand(port, address, format("$%02XS%02X", address, mode));
}

uint16_t OV_GetDioMode(uint16_t port, uint16_t address, uint16_t* mode) {
  return query(port, address, format("$%02X6", address),
               [&](const std::string& reply) { put(mode, digitalHex(reply, 2, 1)); });
}

uint16_t OV_SetIoPolarity(uint16_t port, uint16_t address, uint16_t polarity) {
  return sendCommand(port, address, format("~%02XCP%02d", address, polarity));
}

}  // extern "C"
