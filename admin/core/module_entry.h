// One module found on the network: its identity, link settings and the
// family-specific settings the search reads and the dialogs change.
#pragma once

#include <array>
#include <string>

namespace orvane::admin {

inline constexpr int kModelNameWidth = 6;

struct ModuleEntry {
  int Address = 0;
  std::string ModelName = std::string(kModelNameWidth, ' ');  // always 6 characters
  float AlarmHigh = 0;
  float AlarmLow = 0;
  int DataFormat = 0;  // converters: data bits - 5
  int AlarmMode = 0;
  int BaudCode = 0;  // converters: the network side
  int TypeCode = 0;
  int ChecksumFlag = 0;
  int Polarity = 0;
  int GateTimeCode = 0;
  int InputModeCode = 0;
  int GateModeCode = 0;
  std::array<int, 2> CounterRunning{};
  std::array<double, 2> MaxCount{};
  std::array<double, 2> InitialCount{};
  int FilterEnabled = 0;
  int MinWidthHigh = 0;
  int MinWidthLow = 0;
  int TtlLevelHigh = 0;
  int TtlLevelLow = 0;
  std::array<int, 2> AlarmEnabled{};
  std::array<double, 2> AlarmLimit{};
  int MappingEnabled = 0;
  float SourceLow = 0;
  float SourceHigh = 0;
  float TargetLow = 0;
  float TargetHigh = 0;
  int AddressingCode = 0;
  int InterfaceCode = 0;  // 1 RS-485, 0 RS-422
  int AppendCR = 0;
  int ParityCode = 0;
  int StopBitsCode = 0;
  int Rs232BaudCode = 0;
};

// The model name in its 6-character field: shorter names padded with blanks,
// longer ones cut.
std::string modelNameField(std::string_view name);

}  // namespace orvane::admin
