#include "port.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "numbers.h"
#include "orvio.h"

namespace orvctl {

namespace {

constexpr std::uint16_t kPathSlot = 0;
constexpr std::uint16_t kSlotCount = 24;

std::string advice(std::uint16_t status) {
  switch (status) {
    case OV_TIMEOUT:
      return " (is a module at this address, at this baud rate? orvctl scan finds them; -b sets "
             "the rate, -t a longer time-out)";
    case OV_CHECKSUM_ERROR:
      return " (noise on the line: check the wiring, its termination and the baud rate)";
    default:
      return "";
  }
}

// The number of "COMn" (any case), nullopt for any other name.
std::optional<long> comNumber(const std::string& portName) {
  const bool com = portName.size() > 3 && (portName[0] == 'C' || portName[0] == 'c') &&
                   (portName[1] == 'O' || portName[1] == 'o') &&
                   (portName[2] == 'M' || portName[2] == 'm');
  if (!com) return std::nullopt;
  return integerIn(portName.substr(3), 0, 999);
}

}  // namespace

std::uint16_t slotOf(const std::string& portName) {
  const auto number = comNumber(portName);
  if (!number) return kPathSlot;
  if (*number >= kSlotCount)
    throw UsageError("port " + portName +
                     ": the library has the slots COM0 to COM23; give the device path instead");
  return static_cast<std::uint16_t>(*number);
}

Port::Port(const GlobalOptions& options)
    : slot_(slotOf(options.port)),
      named_(!comNumber(options.port)),
      baudRate_(options.baudRate),
      timeoutMs_(static_cast<int>(options.timeoutMs)) {
  if (!options.traceFile.empty() && OV_SetTraceFile(options.traceFile.c_str()) != OV_SUCCESS)
    throw UsageError("--trace " + options.traceFile + ": " + std::strerror(errno) +
                     "; give a regular file you may write");
  if (named_) OV_SetPortName(slot_, options.port.c_str());
  OV_TimeOut(slot_, static_cast<int16_t>(timeoutMs_));
  setChecksum(options.checksum);
  if (std::uint16_t status = open()) {
    std::string text = errorText();
    if (status == OV_LINE_SETTINGS_FAILED) OV_ReleaseComm(slot_);
    throw Failure(kExitPort, text);
  }
}

Port::~Port() { OV_ReleaseComm(slot_); }

std::uint16_t Port::open() {
  return OV_InitialComm(slot_, *baudCodeOf(baudRate_), 8, OV_PARITY_NONE, 0);
}

std::string Port::errorText() const {
  char text[512] = "";
  OV_GetErrorText(slot_, text, sizeof text);
  // Slot 0 stands for the device the user named, and the text names it next.
  const std::string slotZero = "port 0: ";
  if (named_ && std::string_view(text).substr(0, slotZero.size()) == slotZero)
    return text + slotZero.size();
  return text;
}

void Port::check(std::uint16_t status) const {
  if (status == OV_SUCCESS) return;
  const int exitStatus = status == OV_IO_ERROR ? kExitPort : kExitModule;
  throw Failure(exitStatus, errorText() + advice(status));
}

void Port::setChecksum(bool on) {
  if (on)
    OV_EnableChecksum(slot_);
  else
    OV_DisableChecksum(slot_);
}

void Port::setTimeout(int milliseconds) {
  OV_TimeOut(slot_, static_cast<int16_t>(milliseconds > 32767 ? 32767 : milliseconds));
}

std::string Port::setBaudRate(long rate) {
  const std::uint16_t status = OV_SetBaudRate(slot_, *baudCodeOf(rate));
  if (status != OV_SUCCESS) throw Failure(kExitPort, errorText());
  baudRate_ = rate;
  return errorText();
}

bool Port::reopen() {
  OV_ReleaseComm(slot_);
  return open() == OV_SUCCESS;
}

}  // namespace orvctl
