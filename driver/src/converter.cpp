// The converter model 7912: its configuration record, its data gate, and the
// data pass to the device behind it.
#include <string>

#include "operations.h"

using namespace orvane::driver;

namespace {

// The status word of the configuration reply.
constexpr unsigned kFlag15 = 1u << 15;
constexpr unsigned kFlag14 = 1u << 14;
constexpr unsigned kFlag13 = 1u << 13;
constexpr unsigned kFlag8 = 1u << 8;
constexpr unsigned kEvenParity = 1u << 4;
constexpr unsigned kParityOn = 1u << 3;
constexpr unsigned kStopBit = 1u << 2;
constexpr unsigned kDataBits = 3u;

void decodeConverterConfig(const std::string& reply, OV_ConverterConfig& config) {
  unsigned word = hexAt(reply, 7, 4);
  config.address = static_cast<uint16_t>(hexAt(reply, 1, 2));
  config.firstBaud = static_cast<uint16_t>(hexAt(reply, 5, 1));
  config.secondBaud = static_cast<uint16_t>(hexAt(reply, 6, 1));
  config.flag14 = (word & kFlag14) ? 1 : 0;
  config.flag15 = (word & kFlag15) ? 1 : 0;
  config.flag13 = (word & kFlag13) ? 1 : 0;
  config.flag8 = (word & kFlag8) ? 1 : 0;
  config.parity = !(word & kParityOn) ? 0 : (word & kEvenParity) ? 2 : 1;
  config.stopBits = static_cast<uint16_t>((word & kStopBit) >> 1);
  config.dataBits = static_cast<uint16_t>((word & kDataBits) + 5);
}

}  // namespace

extern "C" {

uint16_t OV_DataPass(uint16_t port, uint16_t address, const char* text, char* reply) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  if (!text) return refuse(port, OV_REFUSED, kNullArgument);
  return withModule(port, address, [&](Session& session) -> uint16_t {
    Library& library = session.library();
    char delimiter = library.delimiters[session.port()][address];
    std::string frame = format("%c%02X%s", delimiter, address, text);
    bool checksum = session.checksumOn();
    if (!fitsCommandBuffer(frame, checksum)) return session.refuseTooLong(frame);
    session.sendFrame(frame, checksum);
    std::uint16_t length = library.dataPassLengths[session.port()][address];
    std::string received;
    std::uint16_t status = length == 0 ? session.receiveLine(checksum, 0, received)
                                       : session.receiveCount(checksum, length, received);
    if (status == OV_SUCCESS) putText(reply, received);
    return status;
  });
}

uint16_t OV_DataPassConfig(uint16_t port, uint16_t address, uint16_t length) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  // The reply must fit the reply buffer.
  if (length > kReplyCapacity)
    return refuse(port, OV_REFUSED, format("data-pass length %u is above 31", length));
  return withModule(port, address, [&](Session& session) -> uint16_t {
    session.library().dataPassLengths[session.port()][address] = length;
    return OV_SUCCESS;
  });
}

uint16_t OV_SetDataGate(uint16_t port, uint16_t address, uint16_t open) {
  return sendCommand(port, address, format("&%02X8%s", address, open ? "10" : "00"));
}

uint16_t OV_Get7912Config(uint16_t port, uint16_t address, OV_ConverterConfig* config) {
  return withModule(port, address, [&](Session& session) -> uint16_t {
    std::string reply;
    uint16_t status = readConfiguration(session, format("$%02X2", address), reply);
    if (status == OV_SUCCESS && config) decodeConverterConfig(reply, *config);
    return status;
  });
}

uint16_t OV_Set7912Config(uint16_t port, uint16_t address, const OV_ConverterConfig* config) {
  if (uint16_t refused = checkTarget(port, address)) return refused;
  if (!config) return refuse(port, OV_REFUSED, kNullArgument);
  const OV_ConverterConfig& c = *config;
  int network = c.flag15 * 8 + c.flag14 * 4 + c.flag13 * 2;
  int evenParity = c.parity == 2 ? 1 : 0;
  int format6 = (c.parity != 0 ? 8 : 0) + c.stopBits * 2 + (c.dataBits - 5);
  return sendCommand(port, address,
                     format("%%%02X%02X40%X%X%X%X%X%X", address, c.address, c.firstBaud,
                            c.secondBaud, network, c.flag8, evenParity, format6));
}

}  // extern "C"
