#include "tests/admin/diag/diag_fixture.h"

#include <QRegularExpression>
#include <QTimer>

namespace orvane::admin::testing {

DiagFixture::DiagFixture() {
  context_->ReplyTimeout = 150;
  context_->LongReplyTimeout = 150;
}

ModuleEntry& DiagFixture::start(std::vector<sim::ModuleState> modules) {
  const int address = modules.front().address;
  return start(std::move(modules), address);
}

ModuleEntry& DiagFixture::start(std::vector<sim::ModuleState> modules, int address) {
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

void DiagFixture::stopTimer() { control<QTimer>(QStringLiteral("Timer1")).stop(); }

std::vector<std::string> DiagFixture::tick() {
  network_->clearFrames();
  window_->pollOnce();
  return sent();
}

QString colourOf(const QLabel& label) {
  const auto match = QRegularExpression(QStringLiteral("rgb\\([^)]*\\)")).match(label.styleSheet());
  return match.hasMatch() ? match.captured(0) : QString();
}

}  // namespace orvane::admin::testing
