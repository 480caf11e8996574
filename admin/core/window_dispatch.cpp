#include "admin/core/window_dispatch.h"

#include "admin/core/module_entry.h"
#include "protocol/catalogue.h"

namespace orvane::admin {

namespace {

using protocol::ModuleFamily;

Dispatch window(const char* name) { return {QString::fromLatin1(name), {}, {}}; }

const QString kCalibrationTitle = QStringLiteral("Calibration");

}  // namespace

Dispatch configurationDispatch(const ModuleEntry& entry) {
  const std::string key = protocol::familyKey(entry.ModelName);
  switch (protocol::familyOf(entry.ModelName)) {
    case ModuleFamily::DigitalIO:
      return window(key == "469" ? "N69ConfigForm" : "DioConfigForm");
    case ModuleFamily::MultiFunction:
      return window("MultiConfigForm");
    case ModuleFamily::AnalogOutput:
      return window("DaConfigForm");
    case ModuleFamily::AnalogInput:
      return window("AdConfigForm");
    case ModuleFamily::CounterFrequency:
      return window("CtrConfigForm");
    case ModuleFamily::Converter:
      return window("N7912ConfigForm");
    case ModuleFamily::Unknown:
      break;
  }
  return {};
}

Dispatch diagnosticDispatch(const ModuleEntry& entry) {
  const std::string key = protocol::familyKey(entry.ModelName);
  switch (protocol::familyOf(entry.ModelName)) {
    case ModuleFamily::DigitalIO:
      return window(key == "469" ? "N69DiagForm" : "DioDiagForm");
    case ModuleFamily::MultiFunction:
      return window("MultiDiagForm");
    case ModuleFamily::AnalogOutput:
      return window(key == "342" ? "DaDiagForm" : "N47DiagForm");
    case ModuleFamily::AnalogInput:
      return window("AdDiagForm");
    case ModuleFamily::CounterFrequency:
      return window(entry.TypeCode == 0x50 ? "CtrDiagForm" : "FreqDiagForm");
    case ModuleFamily::Converter:
      return {{},
              QStringLiteral("No diagnostics function provided for this module."),
              kCalibrationTitle};
    case ModuleFamily::Unknown:
      break;
  }
  return {};
}

Dispatch calibrationDispatch(const ModuleEntry& entry) {
  switch (protocol::familyOf(entry.ModelName)) {
    case ModuleFamily::DigitalIO:
    case ModuleFamily::Converter:
      return {{}, QStringLiteral("This module doesn't need calibration!"), kCalibrationTitle};
    case ModuleFamily::MultiFunction:
    case ModuleFamily::AnalogInput:
      return window("AdCalibForm");
    case ModuleFamily::AnalogOutput:
      return window("DaCalibForm");
    case ModuleFamily::CounterFrequency:
    case ModuleFamily::Unknown:
      break;
  }
  return {};
}

}  // namespace orvane::admin
