// Identity and configuration: configuration record, model name, version,
// synchronized sampling, reset, leading code, delimiter, device identifier,
// RTS/CTS.
#include <string>

#include "models.h"
#include "operations.h"

using namespace orvane::driver;

namespace {

constexpr unsigned kChecksumBit = 0x40;

// A broadcast that no module answers: only the send status counts.
uint16_t broadcast(uint16_t port, const char* command) {
  return withSlot(port, [&](Library& library, PortSlot& slot) -> uint16_t {
    Session session(library, port);
    return session.sendFrame(command, slot.checksum);
  });
}

// The command of the sampled-data read and where its data begins, by model.
struct SyncRead {
  const char* pattern;
  std::size_t from;
};

const SyncRead* syncReadOf(int model) {
  static constexpr SyncRead kAnalog{"$%02X4", 4};
  static constexpr SyncRead kOutput{"$%02X9", 2};
  static constexpr SyncRead kDigital{"$%02X4", 2};
  switch (model) {
    case 7213:
    case 7215:
    case 7226:
    case 7228:
      return &kAnalog;
    case 7347:
      return &kOutput;
    case 7451:
    case 7453:
    case 7455:
    case 7456:
    case 7469:
    case 7472:
      return &kDigital;
    default:
      return nullptr;
  }
}

}  // namespace

extern "C" {

uint16_t OV_GetConfig(uint16_t port, uint16_t address, OV_ModuleConfig* config) {
  return withModule(port, address, [&](Session& session) -> uint16_t {
    std::string reply;
    uint16_t status = readConfiguration(session, format("$%02X2", address), reply);
    if (status != OV_SUCCESS) return status;
    unsigned formatCode = hexAt(reply, 7, 2);
    bool checksum = (formatCode & kChecksumBit) != 0;
    if (config) {
      config->address = static_cast<uint16_t>(hexAt(reply, 1, 2));
      config->typeCode = static_cast<uint16_t>(hexAt(reply, 3, 2));
      config->baudCode = static_cast<uint16_t>(hexAt(reply, 5, 2));
      config->checksum = checksum ? 1 : 0;
      config->dataFormat = static_cast<uint16_t>(formatCode & 3);
    }
    status = session.exchange(format("$%02XM", address), checksum, reply);
    if (status != OV_SUCCESS) return status;
    if (!reply.empty() && reply.front() == '?') return session.refused(reply);
    if (config)
      config->model = static_cast<uint16_t>(decimalFrom(textFrom(reply, 3).substr(0, 4), 0));
    return OV_SUCCESS;
  });
}

uint16_t OV_SetConfig(uint16_t port, uint16_t address, const OV_ModuleConfig* config) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  if (!config) return refuse(port, OV_REFUSED, kNullArgument);
  unsigned formatCode = config->dataFormat + (config->checksum ? kChecksumBit : 0);
  return sendCommand(port, address,
                     format("%%%02X%02X%02X%02X%02X", address, config->address, config->typeCode,
                            config->baudCode, formatCode));
}

uint16_t OV_GetVersion(uint16_t port, uint16_t address, char* version) {
  return readText(port, address, format("$%02XF", address), 3, version);
}

uint16_t OV_GetModuleName(uint16_t port, uint16_t address, char* name) {
  return readText(port, address, format("$%02XM", address), 3, name);
}

uint16_t OV_Sync(uint16_t port) { return broadcast(port, "#**"); }

uint16_t OV_ReadSyncData(uint16_t port, uint16_t address, char* data, uint16_t model) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  const SyncRead* read = syncReadOf(firstSeriesModel(model));
  if (!read) return withSlot(port, [](Library&, PortSlot&) { return OV_SUCCESS; });
  return readText(port, address, format(read->pattern, address), read->from, data);
}

uint16_t OV_SoftReset(uint16_t port, uint16_t address) {
  return sendCommand(port, address, format("$%02XRS", address));
}

uint16_t OV_ResetStatus(uint16_t port, uint16_t address, uint16_t* status) {
  return readDecimal(port, address, format("$%02X5", address), status);
}

uint16_t OV_ConfigLeadingCode(uint16_t port, uint16_t address, const char* code) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  if (!code) return refuse(port, OV_REFUSED, kNullArgument);
  return sendCommand(port, address, format("~%02X10%s", address, code));
}

uint16_t OV_SetDelimiter(uint16_t port, uint16_t address, char delimiter) {
  return withModule(port, address, [&](Session& session) {
    std::string reply;
    uint16_t status = session.transact(format("$%02XC%c", address, delimiter), reply);
    if (status == OV_SUCCESS) session.library().delimiters[session.port()][address] = delimiter;
    return status;
  });
}

uint16_t OV_GetDelimiter(uint16_t port, uint16_t address, char* delimiter) {
  return query(port, address, format("$%02XD", address), [&](const std::string& reply) {
    put(delimiter, reply.size() > 3 ? reply[3] : '\0');
  });
}

uint16_t OV_SetDeviceID(uint16_t port, uint16_t address, const char* id) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  if (!id) return refuse(port, OV_REFUSED, kNullArgument);
  return sendCommand(port, address, format("$%02X6%s", address, id));
}

uint16_t OV_GetDeviceID(uint16_t port, uint16_t address, char* id) {
  return readText(port, address, format("$%02X7", address), 3, id);
}

uint16_t OV_SetRTS(uint16_t port, uint16_t address, uint16_t value) {
  return sendCommand(port, address, format("$%02X0%d", address, value));
}

uint16_t OV_GetRTS(uint16_t port, uint16_t address, uint16_t* value) {
  return readDecimal(port, address, format("$%02X3", address), value);
}

uint16_t OV_GetCTS(uint16_t port, uint16_t address, uint16_t* value) {
  return readDecimal(port, address, format("$%02X1", address), value);
}

}  // extern "C"
