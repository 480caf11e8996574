// The network search proper: probes every address from 0 to the upper
// address at every baud rate selected for the open port, without and then
// with checksum, reads each module found and fills ModuleList in address
// order. The window that runs it supplies the hooks.
#pragma once

#include <functional>
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
// InitModuleIndex: as a sequence that leaves the GUI thread free while the
// line works, or to its end.
LinkTask<ScanOutcome> networkScan(AdminContext& context, ScanHooks hooks);
ScanOutcome runNetworkScan(AdminContext& context, const ScanHooks& hooks);

// A reply to "$AA2" that identifies a module: "!" and 9 or 11 characters.
bool isConfigReply(const std::string& reply);

}  // namespace orvane::admin
