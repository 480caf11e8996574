// orvctl on a line of a device server: the URL goes to the library as it
// is; over RFC 2217 a scan reaches the modules of every rate, over raw TCP
// the line stays at the server's speed and stderr says so.
#include <stdlib.h>

#include <filesystem>

#include "orvctl_fixture.h"
#include "ser2net_server.h"

namespace orvctl::test {
namespace {

class OrvctlNetworkLineTest : public OrvctlTest {
 protected:
  void SetUp() override {
    if (orvane::test::Ser2net::program().empty())
      GTEST_SKIP() << "ser2net is not installed (Debian package ser2net, which scripts/setup "
                      "installs)";
    char pattern[] = "/tmp/orvctl-ser2net-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    orvane::sim::NetworkOptions options;
    options.linkPath = (dir_ / "line").string();
    auto fast = orvane::sim::makeModule("7231", 5);
    fast.baudCode = 4;
    net = std::make_unique<orvane::sim::Network>(
        std::vector{orvane::sim::makeModule("7213", 4), fast}, options);
    server_ = std::make_unique<orvane::test::Ser2net>(options.linkPath, dir_);
    server_->start();
  }
  void TearDown() override {
    server_.reset();
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  // A scan of the addresses 4 and 5 at both rates; through ser2net on a
  // loaded machine an address without a module costs 700 ms.
  Outcome scan(const std::string& url) {
    return runOrvctl({"-p", url, "-t", "700", "--csv", "scan", "--from", "4", "--to", "5", "--baud",
                      "9600,19200", "--settle", "0"});
  }

  std::filesystem::path dir_;
  std::unique_ptr<orvane::test::Ser2net> server_;
};

TEST_F(OrvctlNetworkLineTest, AScanOverRfc2217FindsTheModulesOfEveryRate) {
  const Outcome outcome = scan(server_->rfc2217Url());
  ASSERT_EQ(outcome.status, 0) << outcome.err << server_->output();
  const auto rows = csvRows(outcome.out);
  ASSERT_EQ(rows.size(), 2u) << outcome.out;
  EXPECT_EQ(rows[0].at("model"), "7213");
  EXPECT_EQ(rows[0].at("baud"), "9600");
  EXPECT_EQ(rows[1].at("model"), "7231");
  EXPECT_EQ(rows[1].at("baud"), "19200");
}

TEST_F(OrvctlNetworkLineTest, AScanOverRawTcpSaysTheLineKeepsItsSpeed) {
  const Outcome outcome = scan(server_->socketUrl());
  ASSERT_EQ(outcome.status, 0) << outcome.err << server_->output();
  EXPECT_EQ(csvRows(outcome.out).size(), 1u) << outcome.out;
  EXPECT_NE(outcome.err.find("is a network line at a fixed speed: it stays at 9600 bps"),
            std::string::npos)
      << outcome.err;
}

}  // namespace
}  // namespace orvctl::test
