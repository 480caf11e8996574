#include "admin/core/window_dispatch.h"

#include <gtest/gtest.h>

#include "admin/core/module_entry.h"
#include "admin/core/number_input.h"

namespace orvane::admin {
namespace {

ModuleEntry module(const std::string& model, int typeCode = 0) {
  ModuleEntry entry;
  entry.ModelName = modelNameField(model);
  entry.TypeCode = typeCode;
  return entry;
}

TEST(WindowDispatch, ConfigurationWindowByFamily) {
  EXPECT_EQ(configurationDispatch(module("7451")).window, "DioConfigForm");
  EXPECT_EQ(configurationDispatch(module("7469")).window, "N69ConfigForm");
  EXPECT_EQ(configurationDispatch(module("7228")).window, "MultiConfigForm");
  EXPECT_EQ(configurationDispatch(module("7347")).window, "DaConfigForm");
  EXPECT_EQ(configurationDispatch(module("7226")).window, "AdConfigForm");
  EXPECT_EQ(configurationDispatch(module("7586")).window, "CtrConfigForm");
  EXPECT_EQ(configurationDispatch(module("7917")).window, "N7912ConfigForm");
  const auto unknown = configurationDispatch(module("7999"));
  EXPECT_TRUE(unknown.window.isEmpty());
  EXPECT_TRUE(unknown.message.isEmpty());
}

TEST(WindowDispatch, DiagnosticWindowByModelAndCounterMode) {
  EXPECT_EQ(diagnosticDispatch(module("7469")).window, "N69DiagForm");
  EXPECT_EQ(diagnosticDispatch(module("7342")).window, "DaDiagForm");
  EXPECT_EQ(diagnosticDispatch(module("7347")).window, "N47DiagForm");
  EXPECT_EQ(diagnosticDispatch(module("7586", 0x50)).window, "CtrDiagForm");
  EXPECT_EQ(diagnosticDispatch(module("7586", 0x51)).window, "FreqDiagForm");
  const auto converter = diagnosticDispatch(module("7912"));
  EXPECT_TRUE(converter.window.isEmpty());
  EXPECT_EQ(converter.message, "No diagnostics function provided for this module.");
  EXPECT_EQ(converter.title, "Calibration");
}

TEST(WindowDispatch, CalibrationOnlyForAnalogModules) {
  EXPECT_EQ(calibrationDispatch(module("7213")).window, "AdCalibForm");
  EXPECT_EQ(calibrationDispatch(module("7234")).window, "AdCalibForm");
  EXPECT_EQ(calibrationDispatch(module("7342")).window, "DaCalibForm");
  for (const char* model : {"7455", "7912"}) {
    const auto none = calibrationDispatch(module(model));
    EXPECT_EQ(none.message, "This module doesn't need calibration!");
    EXPECT_EQ(none.title, "Calibration");
  }
  EXPECT_TRUE(calibrationDispatch(module("7586")).window.isEmpty());
  EXPECT_TRUE(calibrationDispatch(module("7586")).message.isEmpty());
}

TEST(NumberInput, RefusesEmptyFieldsOtherCharactersAndOverflow) {
  EXPECT_EQ(digitsValue(QStringLiteral("255"), 255), 255);
  EXPECT_EQ(numberRefusal(QStringLiteral("0"), 255), QString());
  EXPECT_EQ(numberRefusal(QStringLiteral("256"), 255), "Number can not exceed 255.");
  EXPECT_EQ(numberRefusal(QStringLiteral("99999999999999999999"), 255),
            "Number can not exceed 255.");
  EXPECT_EQ(numberRefusal(QStringLiteral(""), 255), "Please input a number.");
  EXPECT_EQ(numberRefusal(QStringLiteral("12a"), 255), "Please input a number.");
  EXPECT_EQ(numberRefusal(QStringLiteral("-1"), 255), "Please input a number.");
}

}  // namespace
}  // namespace orvane::admin
