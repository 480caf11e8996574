// Many threads on three ports at once, with ports released and reopened
// under their feet: every call either fails with a status that says so or
// hands back the data of the module it addressed, never another module's.
// Run it in a ThreadSanitizer build too (scripts/test.d/tsan.sh).
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "orvio.h"
#include "sim/network.h"

namespace {

constexpr int kPorts = 3;
constexpr int kThreads = 8;
constexpr uint16_t kFirstPort = 1;
constexpr std::array<uint16_t, 2> kAddresses = {0x01, 0x2A};

// Every module on every line has a model and a firmware text of its own.
constexpr std::array<std::array<const char*, 2>, kPorts> kModels = {
    {{"7213", "7215"}, {"7226", "7228"}, {"7451", "7453"}}};

std::string firmwareOf(int line, int slot) {
  return "F" + std::to_string(line) + "-" + std::to_string(slot);
}

int callsPerThread() {
  const char* text = std::getenv("ORVIO_THREAD_CALLS");
  return text ? std::atoi(text) : 1000;
}

struct Tally {
  int good = 0;
  int portClosed = 0;  // another thread had released the port
  int wrong = 0;       // a reply of another module, or a status that should not be
  std::string firstWrong;
};

class ThreadsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int line = 0; line < kPorts; ++line) {
      std::vector<orvane::sim::ModuleState> modules;
      for (int slot = 0; slot < 2; ++slot) {
        auto m = orvane::sim::makeModule(kModels[line][slot], kAddresses[slot]);
        m.firmware = firmwareOf(line, slot);
        modules.push_back(m);
      }
      networks_.push_back(std::make_unique<orvane::sim::Network>(modules));
      uint16_t port = kFirstPort + line;
      ASSERT_EQ(OV_SetPortName(port, networks_.back()->slavePath().c_str()), OV_SUCCESS);
      // Generous: no exchange times out on a loaded machine, so no late reply
      // is ever left on a line.
      OV_TimeOut(port, 1000);
      ASSERT_EQ(OV_InitialComm(port, OV_BAUD_9600, 8, OV_PARITY_NONE, 0), OV_SUCCESS);
    }
  }
  void TearDown() override {
    for (int line = 0; line < kPorts; ++line) {
      uint16_t port = kFirstPort + line;
      OV_ReleaseComm(port);
      OV_SetPortName(port, nullptr);
      OV_TimeOut(port, 100);
    }
  }

  std::vector<std::unique_ptr<orvane::sim::Network>> networks_;
};

void note(Tally& tally, uint16_t status, bool rightData, const std::string& what) {
  if (status == OV_SUCCESS && rightData) {
    ++tally.good;
  } else if (status == OV_IO_ERROR) {
    ++tally.portClosed;
  } else {
    if (tally.wrong++ == 0) tally.firstWrong = what + " status " + std::to_string(status);
  }
}

void run(int thread, int calls, Tally& tally) {
  const int line = thread % kPorts;
  const uint16_t port = kFirstPort + line;
  std::mt19937 random(static_cast<unsigned>(thread) * 7919u + 1u);
  for (int i = 0; i < calls; ++i) {
    const int slot = static_cast<int>(random() % 2);
    const uint16_t address = kAddresses[slot];
    const std::string model = kModels[line][slot];
    const std::string where =
        "port " + std::to_string(port) + " address " + std::to_string(address);
    switch (random() % 8) {
      case 0: {
        // Another thread may release the port at any time, or reopen it;
        // reopening is the more frequent, so the port is mostly open.
        uint16_t status =
            random() % 4 == 0 ? OV_ReleaseComm(port) : OV_InitialComm(port, OV_BAUD_9600, 8, 0, 0);
        bool expected =
            status == OV_SUCCESS || status == OV_REFUSED || status == OV_LINE_SETTINGS_FAILED;
        if (!expected) note(tally, status, false, where + " open/release");
        break;
      }
      case 1: {
        OV_ModuleConfig config{};
        uint16_t status = OV_GetConfig(port, address, &config);
        bool right = config.address == address && std::to_string(config.model) == model;
        note(tally, status, right, where + " config");
        break;
      }
      case 2:
      case 3:
      case 4: {
        char name[30] = "";
        uint16_t status = OV_GetModuleName(port, address, name);
        note(tally, status, model == name, where + " name " + name);
        break;
      }
      default: {
        char version[30] = "";
        uint16_t status = OV_GetVersion(port, address, version);
        note(tally, status, firmwareOf(line, slot) == version, where + " version " + version);
        break;
      }
    }
  }
}

TEST_F(ThreadsTest, EightThreadsOnThreePortsNeverSeeAnotherModulesReply) {
  const int calls = callsPerThread();
  std::vector<Tally> tallies(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(run, t, calls, std::ref(tallies[t]));
  for (auto& t : threads) t.join();
  int good = 0, closed = 0;
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(tallies[t].wrong, 0) << "thread " << t << ": " << tallies[t].firstWrong;
    good += tallies[t].good;
    closed += tallies[t].portClosed;
  }
  // The churn must not starve the exchanges: most calls reach their module.
  EXPECT_GT(good, kThreads * calls / 2) << closed << " calls found the port closed";
  RecordProperty("good", good);
  RecordProperty("portClosed", closed);
}

}  // namespace
