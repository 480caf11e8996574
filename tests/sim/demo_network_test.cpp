// The demo network: every model at the baud rates the issue asks for, found
// by probing "$AA2" and "$AAM" as a search does.
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "line_client.h"
#include "protocol/catalogue.h"
#include "sim/network.h"

namespace orvane::sim {
namespace {

using namespace std::chrono_literals;
using test::LineClient;

TEST(DemoNetwork, HoldsEveryModelOnceBelowAddress40) {
  const auto modules = demoNetwork();
  std::set<std::string> models;
  std::set<int> rates;
  int withChecksum = 0, inInit = 0;
  for (const auto& m : modules) {
    models.insert(m.model);
    rates.insert(protocol::baudRateOf(m.baudCode));
    EXPECT_LT(m.address, 40);
    EXPECT_TRUE(protocol::familyOf(m.model) == protocol::ModuleFamily::Converter ||
                protocol::familyOf(m.model) == protocol::ModuleFamily::CounterFrequency ||
                protocol::familyOf(m.model) == protocol::ModuleFamily::DigitalIO ||
                protocol::typeCodeValid(m.model, m.typeCode))
        << m.model;
    withChecksum += m.checksum;
    if (m.initState) {
      ++inInit;
      EXPECT_NE(m.address, 0);
    }
  }
  EXPECT_EQ(models.size(), 20u);
  EXPECT_EQ(modules.size(), 20u);
  EXPECT_TRUE(rates.count(9600) && rates.count(19200) && rates.count(115200));
  EXPECT_GE(withChecksum, 1);
  EXPECT_EQ(inInit, 1);
}

TEST(DemoNetwork, ProbingTheLinkFindsEveryModel) {
  const std::string link = ::testing::TempDir() + "orvsim-demo-link";
  NetworkOptions options;
  options.linkPath = link;
  Network net(demoNetwork(), options);
  LineClient line(link);
  std::set<std::string> found;
  for (int rate : {9600, 19200, 115200}) {
    line.setLine(rate);
    for (int a = 0; a <= 20; ++a) {  // the demo network's addresses, and 00
      char address[3];
      std::snprintf(address, sizeof address, "%02X", a);
      for (bool withChecksum : {false, true}) {
        const auto config = line.ask(std::string("$") + address + "2", withChecksum, 40ms);
        if (!config) continue;
        EXPECT_TRUE(config->size() == 9 || config->size() == 11) << *config;
        const auto model = line.ask(std::string("$") + address + "M", withChecksum);
        ASSERT_TRUE(model);
        found.insert(model->substr(3));
        break;
      }
    }
  }
  EXPECT_EQ(found.size(), 20u);
}

TEST(DemoNetwork, EveryFamilyShowsChangingValues) {
  Network net(demoNetwork());
  LineClient line(net.slavePath());
  const auto poll = [&] {
    return std::vector<std::optional<std::string>>{
        line.ask("#01"),  line.ask("#040"),  line.ask("#060"),  line.ask("$096"),
        line.ask("$0E6"), line.ask("#120D"), line.ask("@01RE"), line.ask("$086")};
  };
  const auto first = poll();
  std::this_thread::sleep_for(1100ms);
  const auto second = poll();
  for (std::size_t i = 0; i < first.size(); ++i) {
    ASSERT_TRUE(first[i] && second[i]) << i;
    if (i == 7) continue;  // the output keeps its value
    EXPECT_NE(*first[i], *second[i]) << i;
  }
  EXPECT_NE(first[4]->substr(7, 2), second[4]->substr(7, 2)) << "input port B of the 7469";
}

}  // namespace
}  // namespace orvane::sim
