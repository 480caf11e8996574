// The three moments at which a test pulls the adapter out of a simulated
// line: before the command is sent, right after it was written, and after
// the module sent three characters of its reply.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "sim/network.h"

namespace orvane::test {

enum class UnplugMoment { BeforeTheSend, AfterTheCommand, AfterThreeReplyCharacters };

inline const auto kUnplugMoments =
    ::testing::Values(UnplugMoment::BeforeTheSend, UnplugMoment::AfterTheCommand,
                      UnplugMoment::AfterThreeReplyCharacters);

inline std::string unplugMomentName(const ::testing::TestParamInfo<UnplugMoment>& info) {
  switch (info.param) {
    case UnplugMoment::BeforeTheSend:
      return "BeforeTheSend";
    case UnplugMoment::AfterTheCommand:
      return "AfterTheCommand";
    case UnplugMoment::AfterThreeReplyCharacters:
      return "AfterThreeReplyCharacters";
  }
  return "Unknown";
}

// Unplugs the line now, or arms the module at the address to hang the line
// up while it answers the next frame.
inline void pullAdapter(sim::Network& network, int address, UnplugMoment moment) {
  sim::FaultSpec fault;
  switch (moment) {
    case UnplugMoment::BeforeTheSend:
      network.unplug();
      return;
    case UnplugMoment::AfterTheCommand:
      fault.hangUpAfter = 0;
      break;
    case UnplugMoment::AfterThreeReplyCharacters:
      fault.hangUpAfter = 3;
      break;
  }
  network.setFault(address, fault);
}

}  // namespace orvane::test
