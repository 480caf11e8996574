// A configuration OK is a dialog sequence: with the line worker inline or
// threaded it sends the same frames in the same order, and each message box
// comes between the exchange it tells of and the next one.
#include <functional>
#include <utility>

#include "admin/config/ad_config_form.h"
#include "tests/admin/config/config_fixture.h"

namespace orvane::admin {
namespace {

using namespace testing;

class ConfigSequenceTest : public ConfigFixture, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    if (GetParam()) context_->line().startThread();
    // Each box with the number of frames on the wire while it is shown.
    ui_->onMessage = [this] { boxes_.emplace_back(ui_->messages.back().text, frameCount()); };
  }
  std::size_t frameCount() const { return network_->frames().size(); }

  std::vector<std::pair<QString, std::size_t>> boxes_;
};

TEST_P(ConfigSequenceTest, TheAnalogInputConfigurationKeepsItsOrderAndItsMessageBoxes) {
  struct Case {
    const char* name;
    bool sim::FaultSpec::*fault;  // from the OK on, if any
    std::vector<std::string> frames;
    std::vector<std::pair<QString, std::size_t>> boxes;
  };
  const Case cases[] = {
      {"a module that takes it",
       nullptr,
       {"$036", "%030C090600", "$0C585"},
       {{"Change configuration complete.", 3}}},
      {"a module that refuses the configuration",
       &sim::FaultSpec::refuseAll,
       {"$036", "%030C090600", "$03585"},
       {{"Configuration command failed.", 2}, {"Channel enable/disable configuration failed.", 3}}},
      {"a silent module",
       &sim::FaultSpec::silent,
       {"$036", "%030C090600", "$03585"},
       {{"Configuration command failed.", 2}, {"Channel enable/disable configuration failed.", 3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    context_->OrvComm.close(1);
    auto m = simModule("7231", 3);
    m.typeCode = 0x09;
    m.channelMask = 0x85;
    start({m});
    open<AdConfigForm>();
    if (c.fault) network_->setFault(3, fault(c.fault));
    boxes_.clear();
    setAddress(12);
    clickOK();
    EXPECT_EQ(sent(), c.frames);
    EXPECT_EQ(boxes_, c.boxes);
    EXPECT_TRUE(closed());
  }
}

INSTANTIATE_TEST_SUITE_P(LineWorker, ConfigSequenceTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Threaded" : "Inline"; });

}  // namespace
}  // namespace orvane::admin
