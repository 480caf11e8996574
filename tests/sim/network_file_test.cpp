// Network files: settings over the catalogue defaults, and messages that name
// the file, the place and the problem.
#include "sim/network_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "line_client.h"
#include "module_replies.h"
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

// Every setting is checked against the model and what its replies can show,
// and a message quotes at most 80 characters of the file.
TEST(NetworkFile, RefusesWhatTheModelHasNotOrCannotShow) {
  const std::string cut = std::string(80, 'y') + "...";
  const struct {
    std::string model;
    std::string settings;
    std::string message;  // after "line.json: modules[0]"
  } cases[] = {
      {"7213 ", "", R"(.model: unknown model "7213 ")"},
      {std::string(200, 'y'), "", ".model: unknown model \"" + cut + "\""},
      {"7213", R"("typeCode": "0x30")",
       ".typeCode: 0x30 is not a type code of model 7213 (0x00 to 0x06, 0x0E to 0x16)"},
      {"7451", R"("typeCode": 0)", ".typeCode: 0x00 is not a type code of model 7451 (0x40)"},
      {"7586", R"("format": 1)", ".format: 1 is not a format of model 7586 (0, 4)"},
      {"7213", R"("format": "0x42")", ".format: 66 is not a format of model 7213 (0 to 2)"},
      {"7912", R"("format": 0)", ".format: not a setting of model 7912"},
      {"7451", R"("counters": [])", ".counters: not a setting of model 7451"},
      {"7458", R"("toggleMask": 1)", ".toggleMask: not a setting of model 7458"},
      {"7231", R"("inputs": [11])",
       ".inputs[0]: the signal 11 goes beyond the full scale 10 of type code 0x08"},
      {"7213", R"("inputs": [{"shape": "ramp", "value": 700, "amplitude": -61}])",
       ".inputs[0]: the signal 700 +/- 61 goes beyond the full scale 760 of type code 0x0E"},
      {"7213", R"("inputs": [{"shape": "sine", "value": 1e308, "amplitude": 1e308}])",
       ".inputs[0]: the signal 1e+308 +/- 1e+308 goes beyond the full scale 760 of type code "
       "0x0E"},
      {"7226", R"("inputs": [0, 0, 0, 0])", ".inputs: at most 3 entries"},
      {"7231", R"("inputs": [{"period": 0}])", ".inputs[0].period: 0 is outside 0.001 to 1000000"},
      {"7234", R"("inputError": {"offset": 1371})",
       ".inputError.offset: 1371 is outside -1370 to 1370"},
      {"7234", R"("inputError": {"gain": 1.5})",
       ".inputError.gain: must be above -1 and at most 1 (a fraction: 0.02 is 2 % high)"},
      {"7234", R"("cjcTemperature": 1e300)", ".cjcTemperature: 1e+300 is outside -400 to 400"},
      {"7213", R"("alarm": {"high": 1e308})", ".alarm.high: 1e+308 is outside -1000 to 1000"},
      {"7228", R"("mapping": {"sourceLow": 100.5})",
       ".mapping.sourceLow: 100.5 is outside -100 to 100"},
      {"7342", R"("outputs": [25])", ".outputs[0]: 25 is outside 0 to 20"},
      {"7342", R"("typeCode": "0x31", "outputs": [2])", ".outputs[0]: 2 is outside 4 to 20"},
      {"7347", R"("outputs": [0, 0, -10.5])", ".outputs[2]: -10.5 is outside -10 to 10"},
      {"7342", R"("outputError": {"offset": 11})", ".outputError.offset: 11 is outside -10 to 10"},
      {"7342", R"("outputCorrection": {"at20mA": -1e9})",
       ".outputCorrection.at20mA: -1000000000 is outside -10 to 10"},
      {"7226", R"("channelMask": "0x0F")",
       ".channelMask: 0xF sets bits beyond those of the model (0x7)"},
      {"7451", R"("toggleMask": "0x80")",
       ".toggleMask: 0x80 sets bits beyond those of the model (0x7F)"},
      {"7213", R"("digitalInputs": 2)",
       ".digitalInputs: 0x2 sets bits beyond those of the model (0x1)"},
      {"7455", R"("togglePeriod": 0)", ".togglePeriod: 0 is outside 0.001 to 1000000"},
      {"7586", R"("counters": [{"rate": 1e308}])",
       ".counters[0].rate: 1e+308 is outside 0 to 3579139412"},
      {"7586", R"("counters": [{}, {"max": 10, "value": 11}])",
       ".counters[1].value: above the counter's maximum 10"},
      {"7586", R"("counters": [{"initial": 5, "max": 4}])",
       ".counters[0].initial: above the counter's maximum 4"},
      {"7213", R"("firmware": ")" + std::string(300, 'x') + "\"",
       ".firmware: at most 24 characters"},
      {"7917", R"("deviceId": "ID\r")",
       R"(.deviceId: "ID\u000D" holds a character other than blank to "~")"},
      {"7912", R"("device": {"reply": "\u00e9"})",
       ".device.reply: \"\xC3\xA9\" holds a character other than blank to \"~\""},
      {"7912", R"("delimiter": "$")",
       R"(.delimiter: "$" cannot lead a data pass (a blank, a control character or one of $#%@~&*))"},
      {"7213", "\"" + std::string(200, 'y') + "\": 1", "." + cut + ": unknown setting"},
      {"7213", R"("\u001b[2J": 1)", R"(.\u001B[2J: unknown setting)"},
      {"7213", R"("typeCode": "0x)" + std::string(100, 'G') + "\"",
       ".typeCode: \"0x" + std::string(78, 'G') + "...\" is not a hexadecimal number"},
      {"7213", R"("typeCode": "0x)" + std::string(100, 'F') + "\"",
       ".typeCode: 0x" + std::string(78, 'F') + "... is outside 0 to 255"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    EXPECT_EQ(errorOf(R"({"modules": [{"model": ")" + c.model + R"(", "address": 1)" +
                      (c.settings.empty() ? "" : ", " + c.settings) + "}]}"),
              "line.json: modules[0]" + c.message);
  }
}

// Two modules never answer the same frame, and no setting is given twice
// (the JSON library would keep the last one without a word).
TEST(NetworkFile, RefusesModulesThatAnswerTogetherAndKeysGivenTwice) {
  const std::string atZero = R"({"model": "7213", "address": 0)";
  const std::string fresh = R"({"model": "7451", "address": 2, "initState": true})";
  const std::string both =
      ": answers at address 00, 9600 bps, as modules[0] does (a module in its initialization "
      "state answers there)";
  const struct {
    std::string file;
    std::string message;  // after "line.json: "
  } cases[] = {
      {R"({"modules": [{"model": "7213", "address": 1, "initState": true}, )" + fresh + "]}",
       "modules[1]" + both},
      {R"({"modules": [)" + atZero + "}, " + fresh + "]}", "modules[1]" + both},
      {R"({"modules": [)" + fresh + ", " + atZero + R"(, "checksum": true}]})",
       "modules[1]" + both},
      {R"({"modules": [)" + atZero + R"(, "baud": 19200}, )" + fresh + "]}", "(accepted)"},
      {R"({"modules": [{"model": "7213", "address": 5, "baud": 19200},
                       {"model": "7215", "address": 5}]})",
       "modules[1].address: address 5 is already used by modules[0]"},
      {R"({"modules": [], "modules": [)" + atZero + "}]}", "modules: given twice"},
      {R"({"modules": [{"model": "7213", "address": 1},
                       {"model": "7213", "address": 2, "baud": 9600, "baud": 19200}]})",
       "modules[1].baud: given twice"},
      {R"({"modules": [{"model": "7213", "address": 1, "alarm": {"low": 1, "low": 2}}]})",
       "modules[0].alarm.low: given twice"},
      {R"({"modules": [{"model": "7213", "address": 1,
                        "faults": [{}, {"silent": true, "silent": false}]}]})",
       "modules[0].faults[1].silent: given twice"},
      {R"({"modules": [{"model": "7213", "inputs": [1, [2, {"a": 3}]], "address": 1,
                        "address": 2}]})",
       "modules[0].address: given twice"},
      {R"({"modules": [{"model": "7213", "address": 1)" + std::string(400, '0') + "}]}",
       "line 1, column 43: the number 1" + std::string(79, '0') + "... is out of range"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string error = errorOf(c.file);
    EXPECT_EQ(error, c.message == "(accepted)" ? c.message : "line.json: " + c.message);
  }
}

// Modules with every setting at the end of its range still answer as a
// module does: no reply longer than a reply can be, no "nan" or "inf".
TEST(NetworkFile, ModulesAtTheEndsOfTheirRangesAnswerAsModulesDo) {
  const std::string text = std::string(24, '~');
  auto modules = parseNetwork(R"({"modules": [
    {"model": "7231", "address": 1, "inputError": {"offset": 10, "gain": 1},
     "inputs": [10, -10, {"shape": "ramp", "value": 5, "amplitude": 5, "period": 0.001},
                {"shape": "sine", "value": -9, "amplitude": -1, "period": 1000000}]},
    {"model": "7226", "address": 2, "typeCode": "0x2A", "format": 3, "inputs": [60, -60],
     "inputError": {"offset": -60, "gain": 1}},
    {"model": "7226", "address": 3, "typeCode": "0x23", "format": 3, "inputs": [600, -600]},
    {"model": "7234", "address": 4, "inputs": [1370, -1370], "cjcTemperature": 400,
     "cjcOffset": 400, "cjcError": -400, "openInputs": "0xFF"},
    {"model": "7213", "address": 5, "format": 2, "inputs": [-760], "cjcTemperature": -400,
     "cjcOffset": -400, "alarm": {"mode": 2, "low": -1000, "high": 1000},
     "firmware": ")" + text + R"("},
    {"model": "7228", "address": 6, "format": 1, "inputs": [{"shape": "noise", "value": 0, "amplitude": 10}],
     "mapping": {"enabled": true, "sourceLow": -100, "sourceHigh": 100, "targetLow": 100,
                 "targetHigh": -100}},
    {"model": "7215", "address": 7, "format": 1, "inputs": [10], "alarm": {"high": 100},
     "digitalInputs": 1, "toggleMask": 1, "togglePeriod": 0.001},
    {"model": "7342", "address": 8, "typeCode": "0x32", "format": 1, "outputs": [10],
     "outputError": {"offset": 10, "gain": 1}, "outputCorrection": {"at4mA": 10, "at20mA": 10}},
    {"model": "7342", "address": 9, "typeCode": "0x31", "outputs": [4],
     "outputError": {"offset": -10, "gain": 1},
     "outputCorrection": {"at4mA": -10, "at20mA": -10}},
    {"model": "7347", "address": 10, "outputs": [10, -10, 10, -10], "digitalInputs": "0x7F",
     "polarity": 3},
    {"model": "7469", "address": 11, "digitalInputs": "0x0FFFFFFF", "toggleMask": "0x0FFFFFFF",
     "portDirections": 15, "polarity": 3},
    {"model": "7586", "address": 12, "typeCode": "0x51", "format": 4,
     "counters": [{"rate": 3579139412, "running": true}, {"rate": 0}]},
    {"model": "7586", "address": 13, "counters": [
      {"rate": 3579139412, "running": true, "value": 4294967295, "max": 4294967295,
       "alarm": true, "limit": 4294967295},
      {"rate": 3579139412, "running": true, "max": 0}]},
    {"model": "7912", "address": 14, "statusWord": "0xFFFF", "deviceId": ")" +
                                  text + R"(",
     "device": {"echo": false, "reply": ")" +
                                  text + R"("}, "delimiter": "}"}
  ]})",
                              "limits.json");
  for (auto& m : modules) {
    double last = 0;
    for (double t : {0.0, 0.3, 12345.6}) {
      advance(m, {last}, {t});
      last = t;
      for (const auto& r : test::readReplies(m, {t})) {
        if (const auto problem = test::problemOf(r))
          ADD_FAILURE() << m.model << " at " << t << " s: " << r.command << " -> " << r.reply
                        << ": " << *problem;
      }
    }
  }
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

TEST(NetworkFile, WhatIsNoRegularFileOfAtMost1MBIsNamed) {
  const std::string big = ::testing::TempDir() + "network-too-big.json";
  std::ofstream(big) << std::string(1024 * 1024 + 1, ' ');
  const struct {
    std::string path;
    std::string message;
  } cases[] = {
      {"/nonexistent/line.json", "/nonexistent/line.json: No such file or directory"},
      {"/tmp", "/tmp: is not a regular file (a directory)"},
      {big, big + ": larger than 1 MB"},
  };
  for (const auto& c : cases) {
    try {
      loadNetworkSetup(c.path);
      ADD_FAILURE() << c.path << " was read";
    } catch (const NetworkFileError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
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
