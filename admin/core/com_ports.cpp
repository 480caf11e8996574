#include "admin/core/com_ports.h"

#include <string>
#include <system_error>

#include "admin/core/line_worker.h"
#include "serial/port_names.h"

namespace orvane::admin {

namespace {

using Clock = std::chrono::steady_clock;

std::size_t slot(int com) {
  if (com < 1 || com > 8)
    throw serial::SerialError("COM" + std::to_string(com) + ": no such port (COM1 to COM8)");
  return static_cast<std::size_t>(com - 1);
}

// A device node that is gone, or a link whose target is gone.
bool deviceMissing(const std::string& device) {
  std::error_code error;
  return !std::filesystem::exists(device, error);
}

}  // namespace

bool ComPorts::elsewhere() const { return worker_ && !worker_->onLineThread(); }

void ComPorts::open(int com) {
  if (elsewhere()) return worker_->call([&] { open(com); });
  const std::size_t index = slot(com);
  if (ports_[index].isOpen()) return;
  openDevice(index, serial::devicePathForCom(com, configDir_));
}

void ComPorts::openDevice(std::size_t index, const std::string& device) {
  ports_[index] = serial::SerialPort::open(device);
  lineBaudCodes_[index] = -1;
  losses_[index] = Loss{};
}

void ComPorts::close(int com) {
  if (elsewhere()) return worker_->call([&] { close(com); });
  if (com < 1 || com > 8) return;
  ports_[slot(com)].close();
  losses_[slot(com)] = Loss{};
}

bool ComPorts::isOpen(int com) const {
  if (elsewhere()) return worker_->callFor<bool>([&] { return isOpen(com); });
  return com >= 1 && com <= 8 && ports_[static_cast<std::size_t>(com - 1)].isOpen();
}

serial::SerialPort& ComPorts::port(int com) {
  if (elsewhere()) return *worker_->callFor<serial::SerialPort*>([&] { return &port(com); });
  const std::size_t index = slot(com);
  if (losses_[index].lost) reopen(com);
  auto& line = ports_[index];
  if (!line.isOpen())
    throw serial::SerialError("COM" + std::to_string(com) + ": the port is not open");
  return line;
}

void ComPorts::lose(int com) {
  const std::size_t index = slot(com);
  auto& line = ports_[index];
  if (!line.isOpen()) return;
  losses_[index] = Loss{true, std::nullopt, line.device(), {}};
  line.close();
}

std::string ComPorts::disconnectedText(int com) const {
  const std::string& device = losses_[slot(com)].device;
  return "COM" + std::to_string(com) + ": " + device +
         " is disconnected; plug the adapter back in or choose another port (Network > COM "
         "Port...)";
}

void ComPorts::reopen(int com) {
  const std::size_t index = slot(com);
  Loss& loss = losses_[index];
  // A poll every 100 ms must not hammer a device that is not there.
  if (loss.failedTry && Clock::now() - *loss.failedTry < reopenInterval_)
    throw serial::DeviceDisconnected(loss.failure);
  loss.device = serial::devicePathForCom(com, configDir_);
  try {
    openDevice(index, loss.device);
  } catch (const serial::SerialError& failure) {
    loss.failedTry = Clock::now();
    loss.failure = deviceMissing(loss.device) ? disconnectedText(com) : failure.what();
    throw serial::DeviceDisconnected(loss.failure);
  }
}

}  // namespace orvane::admin
