// A simulated module network on its own pty with port slot 1 of the library
// pointed at it, and the library's slot state put back after each test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "orvio.h"
#include "sim/network.h"

namespace orvane::driver::test {

inline constexpr uint16_t kPort = 1;

class DriverTest : public ::testing::Test {
 protected:
  // Starts the network and opens slot 1 on it (9600 bps unless given).
  void start(std::vector<sim::ModuleState> modules, uint16_t baudCode = OV_BAUD_9600);
  void TearDown() override;

  // Runs the action and returns the frames it put on the line, as sent (CR
  // included), waiting for the simulator to log the expected number.
  std::vector<std::string> framesOf(const std::function<void()>& action, std::size_t expected = 1);
  // The one frame the action sent; empty when it sent none.
  std::string frameOf(const std::function<void()>& action);

  // The reply the simulator sent to the last frame, without its CR.
  std::string lastReply() const;

  std::unique_ptr<sim::Network> net;
};

sim::ModuleState module(const std::string& model, int address);

// Status as the signed number callers test.
inline int16_t signedStatus(uint16_t status) { return static_cast<int16_t>(status); }

}  // namespace orvane::driver::test
