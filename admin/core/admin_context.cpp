#include "admin/core/admin_context.h"

#include <stdexcept>

namespace orvane::admin {

AdminContext::AdminContext(std::filesystem::path dir, std::unique_ptr<UiServices> ui)
    : configDir(std::move(dir)),
      OrvComm(configDir, PortBaudCode, reopenInterval),
      ui_(ui ? std::move(ui) : std::make_unique<DesktopUi>()),
      line_(std::make_unique<LineWorker>(*ui_)) {
  OrvComm.attach(*line_);
  initializeTables();
}

PortSetting& AdminContext::portSetting(int com) {
  if (com < 1 || com > kComPortCount) throw std::out_of_range("no such port (COM1 to COM8 only)");
  return PortSettings[static_cast<std::size_t>(com - 1)];
}

const PortSetting& AdminContext::portSetting(int com) const {
  return const_cast<AdminContext*>(this)->portSetting(com);
}

void AdminContext::initializeTables() {
  for (auto& setting : PortSettings) setting.SearchFlags.fill(0);
  PortBaudCode.fill(-1);
  BatchRepeatCount = 1;
  RepeatCommandCount = 1;
  SelectedIndex = -1;
  ModuleCount = 0;
  InitModuleIndex = -1;
  ReplyTimeout = 100;
  LongReplyTimeout = 400;
}

}  // namespace orvane::admin
