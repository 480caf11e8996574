// The network search proper: probes every address from 0 to the upper
// address at every baud rate selected for the open port, without and then
// with checksum, reads each module found and fills ModuleList in address
// order. The window that runs it supplies the hooks.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "admin/core/link_task.h"

namespace orvane::admin {

class AdminContext;

struct ScanHooks {
  std::function<void(int address)> showAddress;
  std::function<void(int baudRate)> showBaudRate;
  std::function<void(int entryIndex)> appendRow;  // entry i is complete
  std::function<void()> yield;                    // serve events (Stop) between exchanges
  std::function<bool()> stopRequested;            // read once per address, or per exchange
};

struct ScanOutcome {
  int modulesFound = 0;
  // The serial layer's text of the first failure of the line (a port that
  // is not open, an adapter pulled out); empty when the line worked.
  std::string lineError;
};

// Runs the scan up to SearchHiAddress and sets ModuleCount and
// InitModuleIndex. On a line at a fixed speed only its speed is probed, the
// lowest rate ticked for the port (see SetPortBaud); each module found is
// listed with the rate its configuration reply names, as everywhere.
// As a sequence it leaves the GUI thread free while the line works;
// runNetworkScan runs it to its end.
LinkTask<ScanOutcome> networkScan(AdminContext& context, ScanHooks hooks);
ScanOutcome runNetworkScan(AdminContext& context, const ScanHooks& hooks);

// "COM3 is a network line at a fixed speed; the search covers only its
// speed" when the open port's line has a fixed speed and more than one rate
// is ticked for it; nullopt otherwise.
std::optional<std::string> fixedSpeedSearchNote(const AdminContext& context);

// A reply to "$AA2" that identifies a module: "!" and 9 or 11 characters.
bool isConfigReply(const std::string& reply);

}  // namespace orvane::admin
