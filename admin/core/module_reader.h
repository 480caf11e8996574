// Reading a module's settings into its ModuleEntry: after the search found
// it, and again after the terminal (whose typed commands may have changed
// the module).
#pragma once

#include <functional>
#include <string>

#include "admin/core/link_task.h"
#include "admin/core/module_entry.h"

namespace orvane::admin {

class AdminContext;

// The link parameters a module answered with during the search.
struct ProbeResult {
  int address = 0;
  int baudCode = 0;
  int checksumFlag = 0;
  std::string configReply;  // "!AATTCCFF" or its 11-character converter form
};

// Fills a fresh entry from the probe's configuration reply, "$AAM" and the
// family's further reads. A failed or refused read leaves its fields as they
// are and the reading goes on.
void readModule(AdminContext& context, const ProbeResult& probe, ModuleEntry& entry);
// The same as a sequence of the search: once `stopped` says so, nothing
// more is sent and the entry is left half read.
LinkTask<void> readModuleAsync(AdminContext& context, const ProbeResult& probe, ModuleEntry& entry,
                               std::function<bool()> stopped = {});

// Re-reads TypeCode, BaudCode and checksum of entry i with "$AA2" (and the
// alarm settings of a multi-function module); a failed read leaves the entry
// unchanged. Address and ModelName never change.
void refreshEntry(AdminContext& context, int entryIndex);

}  // namespace orvane::admin
