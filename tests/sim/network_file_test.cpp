// Network files: settings over the catalogue defaults, and messages that name
// the file, the place and the problem.
#include "sim/network_file.h"

#include <gtest/gtest.h>

#include "line_client.h"
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

TEST(NetworkFile, FaultsOfAModuleAndOfItsCommandsReachTheLine) {
  const auto setup = parseNetworkSetup(R"({"modules": [
      { "model": "7213", "address": 1, "faults": [
          { "command": "$AAM", "reply": "\u00fe\u0000X\r", "delayMs": 5 },
          { "refuseAll": true, "charGapMs": 1 },
          { "command": "$AAF" } ] },
      { "model": "7215", "address": 2, "faults": [{ "silent": true, "wrongChecksum": true,
          "lowerCaseChecksum": true, "nulBytes": true, "noCarriageReturn": true,
          "garbage": true }] } ]})",
                                       "x.json");
  ASSERT_EQ(setup.faults.size(), 4u);
  EXPECT_EQ(setup.faults[0].command, "$AAM");
  EXPECT_EQ(setup.faults[0].fault.delayMs, 5);
  EXPECT_EQ(setup.faults[1].command, std::nullopt);
  const FaultSpec& all = setup.faults[3].fault;
  EXPECT_EQ(setup.faults[3].address, 2);
  EXPECT_TRUE(all.silent && all.wrongChecksum && all.lowerCaseChecksum && all.nulBytes &&
              all.noCarriageReturn && all.garbage && !all.refuseAll);

  Network net(setup.modules);
  applyFaults(net, setup.faults);
  test::LineClient line(net.slavePath());
  EXPECT_EQ(line.exchange("$01M"), std::string("\xFE\0X\r", 4));
  EXPECT_EQ(line.ask("$012"), "?01");
  EXPECT_EQ(line.ask("$01F"), "!01A1.0");
  EXPECT_EQ(line.exchange("$02M"), std::nullopt);
}

TEST(NetworkFile, FaultErrorsNameTheFault) {
  const auto withFaults = [](const std::string& faults) {
    return errorOf(R"({"modules": [{"model": "7213", "address": 1, "faults": )" + faults + "}]}");
  };
  EXPECT_EQ(withFaults(R"([{"hangUpAfter": 3}])"),
            "line.json: modules[0].faults[0].hangUpAfter: unknown setting");
  EXPECT_EQ(withFaults(R"([{}, {"delayMs": -1}])"),
            "line.json: modules[0].faults[1].delayMs: -1 is outside 0 to 600000");
  EXPECT_EQ(withFaults(R"([{"reply": "Ā"}])"),
            "line.json: modules[0].faults[0].reply: only characters up to \\u00FF can go on "
            "the line");
  EXPECT_EQ(withFaults(R"([{"command": ""}])"),
            "line.json: modules[0].faults[0].command: expected a command such as \"$AA3\"");
  EXPECT_EQ(withFaults(R"({"silent": true})"), "line.json: modules[0].faults: expected a list");
  EXPECT_EQ(withFaults(R"(["silent"])"),
            "line.json: modules[0].faults[0]: expected an object { ... }");
}

// Whatever the JSON library makes of a file, the loader names the file and
// throws nothing but its own error.
TEST(NetworkFile, JsonLibraryErrorsBecomeFileErrors) {
  const std::string module = R"({"modules": [{"model": "7213", "address": )";
  EXPECT_EQ(errorOf(module + "1e999}]}"),
            "line.json: line 1, column 43: the number 1e999 is out of range");
  EXPECT_EQ(errorOf(module + "99999999999999999999}]}"),
            "line.json: modules[0].address: 1e+20 is outside 0 to 255");
  EXPECT_EQ(errorOf(module + "18446744073709551615}]}"),
            "line.json: modules[0].address: 18446744073709551615 is outside 0 to 255");
  EXPECT_EQ(errorOf(module + "\"0xFFFFFFFFFFFFFFFFFFFF\"}]}"),
            "line.json: modules[0].address: 0xFFFFFFFFFFFFFFFFFFFF is outside 0 to 255");
  EXPECT_EQ(errorOf(module + "1.5}]}"),
            "line.json: modules[0].address: expected an integer (or a text such as \"0x1F\")");
  EXPECT_EQ(parseNetwork(module + "2.0}]}", "line.json").at(0).address, 2);
  EXPECT_EQ(errorOf(R"({"modules": ["7213"]})"), "line.json: modules[0]: expected an object");
  EXPECT_EQ(errorOf(R"({"modules": {"model": "7213"}})"),
            "line.json: top level: expected an object with a list \"modules\"");
  EXPECT_EQ(errorOf("{\"modules\": [{\"model\": \"72\xC3\x28\"}]}"),
            "line.json: line 1, column 28: not valid UTF-8 text");
  EXPECT_EQ(errorOf(module + "1"),
            "line.json: line 1, column 44: not valid JSON: the text ends too early");
  EXPECT_EQ(errorOf(""), "line.json: line 1, column 1: not valid JSON: the text ends too early");
  EXPECT_EQ(errorOf(std::string(100000, '[') + std::string(100000, ']')),
            "line.json: top level: expected an object with a list \"modules\"");
}

TEST(NetworkFile, MissingFileAndDirectoryAreNamed) {
  try {
    loadNetworkFile("/nonexistent/line.json");
    FAIL() << "accepted a missing file";
  } catch (const NetworkFileError& e) {
    EXPECT_EQ(std::string(e.what()), "/nonexistent/line.json: cannot be read");
  }
  try {
    loadNetworkSetup("/tmp");
    FAIL() << "accepted a directory";
  } catch (const NetworkFileError& e) {
    EXPECT_EQ(std::string(e.what()), "/tmp: is a directory, not a network file");
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
