#include "orvctl_fixture.h"

#include <sstream>

namespace orvctl::test {

using orvane::sim::ModuleState;
using Shape = orvane::sim::Signal::Shape;

void OrvctlTest::SetUp() {
  // The demo network with readings and lines that hold still, so that the
  // output can be compared.
  auto modules = orvane::sim::demoNetwork();
  for (auto& m : modules) m.inputToggleMask = 0;
  auto& m2 = modules[1];  // 7215, with checksum
  m2.inputs[0] = {Shape::Constant, 2.5, 0, 1};
  auto& m5 = modules[4];  // 7231 at 19200
  m5.inputs[0] = {Shape::Constant, 1.25, 0, 1};
  m5.inputs[3] = {Shape::Constant, -7.5, 0, 1};
  auto& m18 = modules[17];  // 7586
  m18.counters[0] = {};
  m18.counters[0].value = 1234;
  net = std::make_unique<orvane::sim::Network>(modules);
}

std::vector<std::string> OrvctlTest::onLine(const std::vector<std::string>& args) const {
  // A time-out that a loaded machine keeps; a test's own -t comes later and wins.
  std::vector<std::string> all = {"-p", net->slavePath(), "-t", "300"};
  all.insert(all.end(), args.begin(), args.end());
  return all;
}

Outcome OrvctlTest::run(const std::vector<std::string>& args,
                        const OrvctlProcess::Environment& environment) const {
  return runOrvctl(onLine(args), environment);
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

namespace {

std::vector<std::string> csvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

}  // namespace

std::vector<std::map<std::string, std::string>> csvRows(const std::string& text) {
  const auto all = lines(text);
  std::vector<std::map<std::string, std::string>> rows;
  if (all.empty()) return rows;
  const auto header = csvFields(all[0]);
  for (std::size_t i = 1; i < all.size(); ++i) {
    const auto fields = csvFields(all[i]);
    EXPECT_EQ(fields.size(), header.size()) << all[i];
    std::map<std::string, std::string> row;
    for (std::size_t k = 0; k < header.size() && k < fields.size(); ++k) row[header[k]] = fields[k];
    rows.push_back(row);
  }
  return rows;
}

std::map<std::string, std::string> textPairs(const std::string& text) {
  std::map<std::string, std::string> pairs;
  for (const auto& line : lines(text)) {
    const auto gap = line.find("  ");
    EXPECT_NE(gap, std::string::npos) << line;
    if (gap == std::string::npos) continue;
    pairs[line.substr(0, gap)] = line.substr(line.find_first_not_of(' ', gap));
  }
  return pairs;
}

nlohmann::json parsed(const std::string& text) {
  try {
    return nlohmann::json::parse(text);
  } catch (const nlohmann::json::exception& e) {
    ADD_FAILURE() << e.what() << " in: " << text;
    return nullptr;
  }
}

}  // namespace orvctl::test
