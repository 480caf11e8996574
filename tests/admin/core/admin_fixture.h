// A test's own orvadmin: a temporary config directory, test UI services, an
// AdminContext, and a simulated module network on COM ports of its choice,
// directly or behind the ser2net device server.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "admin/core/admin_context.h"
#include "ser2net_server.h"
#include "sim/network.h"
#include "tests/admin/core/read_file.h"
#include "tests/admin/core/test_ui.h"

namespace orvane::admin::testing {

// Why a test skips when the suite runs with the line worker threaded
// (ORVANE_TEST_LINE_THREAD set): the worker then pauses on its own thread
// and the search checks Stop without yielding, so the test UI's pause and
// yield hooks, which the test needs, are never called.
inline constexpr const char* kHooksInlineLine =
    "hooks the test UI's pauses or yields, which only the inline line worker calls";

class AdminFixture : public ::testing::Test {
 protected:
  AdminFixture();

  bool lineThreaded() const { return context_->line().threaded(); }

  // Starts a simulated network and maps COM n to it in ports.conf.
  sim::Network& startNetwork(std::vector<sim::ModuleState> modules, int com = 1);
  // The same behind a link in the config directory, as an adapter behind a
  // stable name: the network's unplug() and replug() keep the path.
  sim::Network& startNetworkOnLink(std::vector<sim::ModuleState> modules, int com = 1);
  // The same behind ser2net on 127.0.0.1, COM n mapped to its
  // rfc2217:// URL, or its socket:// URL (raw TCP, fixed at 9600 bps) when
  // `raw`. False when ser2net is not installed: skip the test.
  bool startNetworkBehindSer2net(std::vector<sim::ModuleState> modules, bool raw = false,
                                 int com = 1);
  // Maps COM n to a device path in ports.conf (kept with earlier lines).
  void mapCom(int com, const std::string& device);
  // What an exchange fails with while the adapter of mapped COM n is out,
  // or its device server cannot be reached (for the cause given).
  std::string disconnectedText(int com = 1, const std::string& cause = "") const;
  // Makes COM n the open port of the context.
  void openPort(int com = 1);
  // Writes a file into the config directory.
  void writeConfigFile(const std::string& name, const std::string& content);
  std::string readConfigFile(const std::string& name) const;
  // Starts the network, opens COM1 and makes entry 0, selected, the module
  // at the address (the first module when none is given).
  ModuleEntry& start(std::vector<sim::ModuleState> modules);
  ModuleEntry& start(std::vector<sim::ModuleState> modules, int address);
  // Fills ModuleList entry i for a module the test knows.
  ModuleEntry& setEntry(int index, const std::string& model, int address, int baudCode = 3,
                        int checksumFlag = 0);
  // The frames the network received, as text without CR, once the
  // simulator's log has caught up.
  std::vector<std::string> framesSent() const;
  std::vector<sim::FrameRecord> settledFrames() const;

  QTemporaryDir dir_;
  TestUi* ui_;
  std::unique_ptr<AdminContext> context_;
  std::unique_ptr<sim::Network> network_;
  // Declared after the network, so that it ends first.
  std::unique_ptr<test::Ser2net> ser2net_;
  std::map<int, std::string> portsConf_;
};

}  // namespace orvane::admin::testing
