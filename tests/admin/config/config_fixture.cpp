#include "tests/admin/config/config_fixture.h"

namespace orvane::admin::testing {

ConfigFixture::ConfigFixture() {
  // Short enough that a silent module costs little, long enough for a
  // loaded machine.
  context_->LongReplyTimeout = 150;
  context_->ReplyTimeout = 150;
}

void ConfigFixture::makeInitializationEntry() { context_->InitModuleIndex = 0; }

std::vector<std::string> ConfigFixture::sent() const { return framesSent(); }

}  // namespace orvane::admin::testing
