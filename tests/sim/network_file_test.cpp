// Network files: settings over the catalogue defaults, and messages that name
// the file, the place and the problem.
#include "sim/network_file.h"

#include <gtest/gtest.h>

#include "sim/network.h"

namespace orvane::sim {
namespace {

std::string errorOf(const std::string& text) {
  try {
    parseNetwork(text, "line.json");
  } catch (const NetworkFileError& e) {
    return e.what();
  }
  return "(accepted)";
}

TEST(NetworkFile, SettingsOverrideCatalogueDefaults) {
  const auto modules = parseNetwork(R"({
    "modules": [
      { "model": "7213", "address": "0x1F", "baud": 115200, "checksum": true, "typeCode": "0x0F",
        "format": 2, "initState": true, "firmware": "B2.1",
        "inputs": [{ "shape": "ramp", "value": 5, "amplitude": 2, "period": 3 }],
        "alarm": { "mode": 2, "low": -1, "high": 9 } },
      { "model": "7586", "address": 2, "counters": [{ "rate": 7, "running": false, "max": 99 }] },
      { "model": "7912", "address": 3, "rs232Baud": 57600, "statusWord": "0x611B",
        "device": { "echo": false, "reply": "R" }, "delimiter": ":" }
    ]})",
                                    "x.json");
  ASSERT_EQ(modules.size(), 3u);
  const auto& m = modules[0];
  EXPECT_EQ(m.address, 0x1F);
  EXPECT_EQ(m.baudCode, 6);
  EXPECT_TRUE(m.checksum);
  EXPECT_EQ(m.typeCode, 0x0F);
  EXPECT_EQ(m.format, 2);
  EXPECT_TRUE(m.initState);
  EXPECT_EQ(m.firmware, "B2.1");
  EXPECT_EQ(m.inputs[0].shape, Signal::Shape::Ramp);
  EXPECT_DOUBLE_EQ(m.inputs[0].periodS, 3.0);
  EXPECT_EQ(m.alarmMode, 2);
  EXPECT_DOUBLE_EQ(m.alarmHigh, 9.0);
  EXPECT_DOUBLE_EQ(modules[1].counters[0].ratePerS, 7.0);
  EXPECT_FALSE(modules[1].counters[0].running);
  EXPECT_EQ(modules[1].counters[0].maxValue, 99u);
  EXPECT_EQ(modules[2].rs232BaudCode, 7);
  EXPECT_EQ(modules[2].statusWord, 0x211B);  // the checksum bit lives in "checksum"
  EXPECT_EQ(modules[2].delimiter, ':');
  EXPECT_EQ(modules[2].device.fixedReply, "R");
}

TEST(NetworkFile, ErrorsNameFilePlaceAndProblem) {
  EXPECT_EQ(
      errorOf(R"({"modules": [{"model": "7213", "address": 1}, {"model": "7215", "address": 1}]})"),
      "line.json: modules[1].address: address 1 is already used by modules[0]");
  EXPECT_EQ(errorOf(R"({"modules": [{"model": "7213", "address": 1, "baud": 14400}]})"),
            "line.json: modules[0].baud: 14400 is not a module baud rate");
  EXPECT_EQ(errorOf(R"({"modules": [{"model": "7999", "address": 1}]})"),
            "line.json: modules[0].model: unknown model \"7999\"");
  EXPECT_EQ(errorOf(R"({"modules": [{"model": "7213", "address": 256}]})"),
            "line.json: modules[0].address: 256 is outside 0 to 255");
  EXPECT_EQ(errorOf(R"({"modules": [{"model": "7213"}]})"),
            "line.json: modules[0]: the address is missing");
  EXPECT_EQ(errorOf(R"({"modules": [{"model": "7213", "address": 1, "adress": 2}]})"),
            "line.json: modules[0].adress: unknown setting");
  EXPECT_EQ(
      errorOf(R"({"modules": [{"model": "7213", "address": 1, "inputs": [{"shape": "square"}]}]})"),
      "line.json: modules[0].inputs[0].shape: expected constant, ramp, sine or noise");
  EXPECT_EQ(errorOf(R"({"modules": [{"model": "7213", "address": 1, "alarm": 3}]})"),
            "line.json: modules[0].alarm: expected an object { ... }");
  EXPECT_EQ(errorOf(R"({"modules": [{"model": "7213", "address": "0x1G"}]})"),
            "line.json: modules[0].address: \"0x1G\" is not a hexadecimal number");
  EXPECT_EQ(errorOf("{\n  \"modules\": [\n    {\"model\": \"7213\",, }\n  ]\n}"),
            "line.json: line 3, column 22: not valid JSON");
  EXPECT_EQ(errorOf(R"([1, 2])"),
            "line.json: top level: expected an object with a list \"modules\"");
}

TEST(NetworkFile, MissingFileIsNamed) {
  try {
    loadNetworkFile("/nonexistent/line.json");
    FAIL() << "accepted a missing file";
  } catch (const NetworkFileError& e) {
    EXPECT_EQ(std::string(e.what()), "/nonexistent/line.json: cannot be read");
  }
}

TEST(NetworkFile, ExampleFilesLoad) {
  for (const char* name : {"small-plant.json", "new-module.json", "converter-line.json"}) {
    SCOPED_TRACE(name);
    EXPECT_NO_THROW(loadNetworkFile(std::string(ORVANE_SIM_NETWORKS) + "/" + name));
  }
}

}  // namespace
}  // namespace orvane::sim
