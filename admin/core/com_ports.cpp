#include "admin/core/com_ports.h"

#include <string>
#include <system_error>

#include "admin/core/line_worker.h"
#include "serial/line_name.h"
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

bool ComPorts::lineOpen(std::size_t index) const {
  const auto& line = slots_[index].line;
  return line && line->isOpen();
}

void ComPorts::open(int com) {
  if (elsewhere()) return worker_->call([&] { open(com); });
  const std::size_t index = slot(com);
  if (lineOpen(index)) return;
  openDevice(index, serial::devicePathForCom(com, configDir_));
  slots_[index].fixedSpeedTold = false;
}

void ComPorts::openDevice(std::size_t index, const std::string& device) {
  Slot& opened = slots_[index];
  opened.line = serial::openLine(device, "COM" + std::to_string(index + 1));
  opened.fixedSpeed = opened.line->fixedSpeed();
  opened.loss = Loss{};
  lineBaudCodes_[index] = -1;
}

void ComPorts::close(int com) {
  if (elsewhere()) return worker_->call([&] { close(com); });
  if (com < 1 || com > 8) return;
  slots_[slot(com)] = Slot{};
}

bool ComPorts::isOpen(int com) const {
  if (elsewhere()) return worker_->callFor<bool>([&] { return isOpen(com); });
  return com >= 1 && com <= 8 && lineOpen(slot(com));
}

serial::Line& ComPorts::port(int com) {
  if (elsewhere()) return *worker_->callFor<serial::Line*>([&] { return &port(com); });
  const std::size_t index = slot(com);
  if (slots_[index].loss.lost) reopen(com);
  if (!lineOpen(index))
    throw serial::SerialError("COM" + std::to_string(com) + ": the port is not open");
  return *slots_[index].line;
}

void ComPorts::lose(int com) {
  const std::size_t index = slot(com);
  if (!lineOpen(index)) return;
  Slot& lost = slots_[index];
  lost.loss = Loss{true, std::nullopt, lost.line->device(), {}};
  lost.line.reset();
}

bool ComPorts::fixedSpeed(int com) const {
  if (elsewhere()) return worker_->callFor<bool>([&] { return fixedSpeed(com); });
  return com >= 1 && com <= 8 && slots_[slot(com)].fixedSpeed;
}

bool ComPorts::firstFixedSpeedNotice(int com) {
  if (elsewhere()) return worker_->callFor<bool>([&] { return firstFixedSpeedNotice(com); });
  Slot& told = slots_[slot(com)];
  if (told.fixedSpeedTold) return false;
  told.fixedSpeedTold = true;
  return true;
}

std::string ComPorts::disconnectedText(int com) const { return disconnectedText(com, {}); }

std::string ComPorts::disconnectedText(int com, const std::string& cause) const {
  const std::string& device = slots_[slot(com)].loss.device;
  const std::string what = serial::isUrl(device) ? "check the device server and the network"
                                                 : "plug the adapter back in";
  return "COM" + std::to_string(com) + ": " + device + " is disconnected" +
         (cause.empty() ? "" : " (" + cause + ")") + "; " + what +
         " or choose another port (Network > COM Port...)";
}

void ComPorts::reopen(int com) {
  const std::size_t index = slot(com);
  Loss& loss = slots_[index].loss;
  // A poll every 100 ms must not hammer a device that is not there.
  if (loss.failedTry && Clock::now() - *loss.failedTry < reopenInterval_)
    throw serial::DeviceDisconnected(loss.failure);
  loss.device = serial::devicePathForCom(com, configDir_);
  try {
    openDevice(index, loss.device);
  } catch (const serial::SerialError& failure) {
    loss.failedTry = Clock::now();
    // A device server that cannot be reached is the unplugged adapter of a
    // network line; the cause says whether it refused or did not answer.
    if (serial::isUrl(loss.device))
      loss.failure = disconnectedText(com, failure.what());
    else
      loss.failure = deviceMissing(loss.device) ? disconnectedText(com) : failure.what();
    throw serial::DeviceDisconnected(loss.failure);
  }
}

}  // namespace orvane::admin
