#include "driver_fixture.h"

#include <chrono>
#include <thread>

namespace orvane::driver::test {

sim::ModuleState module(const std::string& model, int address) {
  return sim::makeModule(model, address);
}

void DriverTest::start(std::vector<sim::ModuleState> modules, uint16_t baudCode) {
  net = std::make_unique<sim::Network>(std::move(modules));
  ASSERT_EQ(OV_SetPortName(kPort, net->slavePath().c_str()), OV_SUCCESS);
  ASSERT_EQ(OV_InitialComm(kPort, baudCode, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
}

void DriverTest::TearDown() {
  for (uint16_t port = 0; port < 24; ++port) {
    OV_ReleaseComm(port);
    OV_SetPortName(port, nullptr);
    OV_DisableChecksum(port);
    OV_TimeOut(port, 100);
  }
  net.reset();
}

std::vector<std::string> DriverTest::framesOf(const std::function<void()>& action,
                                              std::size_t expected) {
  // The simulator logs a frame after its reply, so the frame of an earlier
  // exchange may be logged while this action runs: select by arrival time.
  auto started = std::chrono::steady_clock::now();
  action();
  // A refused call sends nothing; give a stray frame a moment to show up.
  if (expected == 0) std::this_thread::sleep_for(std::chrono::milliseconds(30));
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  for (;;) {
    auto frames = net->frames();
    std::vector<std::string> raw;
    for (const auto& frame : frames)
      if (frame.at >= started) raw.push_back(frame.raw);
    if (raw.size() >= expected || std::chrono::steady_clock::now() > deadline) return raw;
    net->waitForFrames(frames.size() + 1, std::chrono::milliseconds(50));
  }
}

std::string DriverTest::frameOf(const std::function<void()>& action) {
  auto raw = framesOf(action, 1);
  EXPECT_LE(raw.size(), 1u) << "more than one frame sent";
  return raw.empty() ? std::string() : raw.front();
}

std::string DriverTest::lastReply() const {
  auto frames = net->frames();
  if (frames.empty()) return {};
  std::string reply = frames.back().reply;
  if (!reply.empty() && reply.back() == '\r') reply.pop_back();
  return reply;
}

}  // namespace orvane::driver::test
