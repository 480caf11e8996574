// orvctl against the simulated demo network on a real pseudo-terminal, and
// the output read back: JSON parsed, CSV split, text name-value lines.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "orvctl_process.h"
#include "sim/network.h"

namespace orvctl::test {

class OrvctlTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // The arguments with "-p" and the simulator's line, and a time-out, in
  // front.
  std::vector<std::string> onLine(const std::vector<std::string>& args) const;
  Outcome run(const std::vector<std::string>& args,
              const OrvctlProcess::Environment& environment = {}) const;

  std::unique_ptr<orvane::sim::Network> net;
};

// The lines of a text.
std::vector<std::string> lines(const std::string& text);
// CSV rows as name-value maps under the header's names.
std::vector<std::map<std::string, std::string>> csvRows(const std::string& text);
// "name  value" lines of a text record.
std::map<std::string, std::string> textPairs(const std::string& text);
// The JSON document, or null with a test failure.
nlohmann::json parsed(const std::string& text);

}  // namespace orvctl::test
