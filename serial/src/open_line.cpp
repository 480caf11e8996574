#include "network_line.h"
#include "rfc2217_line.h"
#include "serial/serial_port.h"

namespace orvane::serial {

namespace {

std::unique_ptr<Line> openByName(const std::string& name) {
  if (!isUrl(name)) return std::make_unique<SerialPort>(SerialPort::open(name));
  const NetworkLineName parsed = parseNetworkLineName(name);
  if (parsed.protocol == NetworkProtocol::Socket) return std::make_unique<TcpLine>(name, parsed);
  return std::make_unique<Rfc2217Line>(name, parsed);
}

}  // namespace

std::unique_ptr<Line> openLine(const std::string& name, std::string_view port) {
  auto line = openByName(name);
  if (!port.empty()) line->setTraceName(std::string(port) + ' ' + name);
  return line;
}

}  // namespace orvane::serial
