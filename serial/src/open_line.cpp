#include "network_line.h"
#include "rfc2217_line.h"
#include "serial/serial_port.h"

namespace orvane::serial {

std::unique_ptr<Line> openLine(const std::string& name) {
  if (!isUrl(name)) return std::make_unique<SerialPort>(SerialPort::open(name));
  const NetworkLineName parsed = parseNetworkLineName(name);
  if (parsed.protocol == NetworkProtocol::Socket) return std::make_unique<TcpLine>(name, parsed);
  return std::make_unique<Rfc2217Line>(name, parsed);
}

}  // namespace orvane::serial
