#include "tests/admin/calib/calib_fixture.h"

#include <QTest>
#include <cstdio>

namespace orvane::admin::testing {

CalibFixture::CalibFixture() {
  // Short enough that a silent module costs little, long enough for a
  // loaded machine.
  context_->ReplyTimeout = 150;
  context_->LongReplyTimeout = 150;
  // Long enough for the module's "!AA" to arrive before the next command
  // clears the line.
  context_->cjcSettlePause = std::chrono::milliseconds(30);
}

ModuleEntry& CalibFixture::startOnLink(sim::ModuleState module) {
  startNetworkOnLink({module});
  openPort();
  ModuleEntry& entry =
      setEntry(0, module.model, module.address, module.baudCode, module.checksum ? 1 : 0);
  entry.TypeCode = module.typeCode;
  entry.DataFormat = module.format;
  context_->ModuleCount = 1;
  context_->SelectedIndex = 0;
  return entry;
}

void CalibFixture::click(const char* name) const {
  QPushButton& target = button(name);
  if (!target.isVisibleTo(window_.get()) || !target.isEnabled())
    throw std::runtime_error(std::string(name) + " cannot be clicked now");
  QTest::mouseClick(&target, Qt::LeftButton);
}

Frames CalibFixture::sentBy(const std::function<void()>& act) {
  network_->clearFrames();
  act();
  return sent();
}

std::string withChecksum(const std::string& command) {
  unsigned sum = 0;
  for (unsigned char c : command) sum += c;
  char digits[3];
  std::snprintf(digits, sizeof digits, "%02X", sum % 256);
  return command + digits;
}

}  // namespace orvane::admin::testing
