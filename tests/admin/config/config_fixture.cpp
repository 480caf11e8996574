#include "tests/admin/config/config_fixture.h"

namespace orvane::admin::testing {

ConfigFixture::ConfigFixture() {
  // Short enough that a silent module costs little, long enough for a
  // loaded machine.
  context_->LongReplyTimeout = 150;
  context_->ReplyTimeout = 150;
}

ModuleEntry& ConfigFixture::start(std::vector<sim::ModuleState> modules) {
  const int address = modules.front().address;
  return start(std::move(modules), address);
}

ModuleEntry& ConfigFixture::start(std::vector<sim::ModuleState> modules, int address) {
  sim::ModuleState module;
  for (const auto& m : modules)
    if (m.address == address) module = m;
  startNetwork(std::move(modules));
  openPort();
  ModuleEntry& entry = setEntry(0, module.model, address, module.baudCode, module.checksum ? 1 : 0);
  entry.TypeCode = module.typeCode;
  entry.DataFormat = module.format;
  context_->ModuleCount = 1;
  context_->SelectedIndex = 0;
  return entry;
}

void ConfigFixture::makeInitializationEntry() { context_->InitModuleIndex = 0; }

std::vector<std::string> ConfigFixture::sent() const { return framesSent(); }

}  // namespace orvane::admin::testing
