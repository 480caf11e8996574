// The module catalogue: models and families, TypeCodes with their names,
// full-scale values and units, BaudCodes, data formats and alarm modes, and
// the rules that turn readings and settings into text. Pure data, no I/O.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace orvane::protocol {

enum class ModuleFamily : int {
  DigitalIO = 0,
  MultiFunction = 1,
  AnalogOutput = 2,
  AnalogInput = 3,
  CounterFrequency = 4,
  Converter = 5,
  Unknown = 6,
};

// Characters 2 to 4 of the model name with blanks removed at both ends:
// "7213", "7213D" and " 7213" all give "213".
std::string familyKey(std::string_view modelName);

ModuleFamily familyOf(std::string_view modelName);

// Input channels a data read addresses one by one: 1, 3 or 8; 0 for a model
// without analog inputs.
int channelCount(std::string_view modelName);

inline constexpr int kTypeCodeCount = 0x52;  // codes 0x00 to 0x51

// The display name in its 16-character field (blanks when the code has none,
// also for codes outside the table).
std::string typeCodeName(int typeCode);

// The display name without its filling blanks.
std::string typeCodeNameTrimmed(int typeCode);

float fullScale(int typeCode);

// "mV", "V", "mA", "C", "ohms" or empty.
std::string unitOf(int typeCode, int dataFormat);

// The unit in its 4-character list-row field ("mV  ", "ohms"); empty when the
// code has no unit.
std::string unitField(int typeCode, int dataFormat);

bool typeCodeValid(std::string_view modelName, int typeCode);
bool dataFormatValid(std::string_view modelName, int dataFormat);

// The TypeCode whose name matches the range name within the model's span;
// the span's last code + 1 when none matches.
int rangeSearch(std::string_view modelName, std::string_view rangeName);

int baudRateOf(int baudCode);
int baudCodeOf(int baudRate);
// "1200", "2400", "4800", "9600", "19200", "38400", "115200", "57600".
const std::array<const char*, 8>& baudRateTexts();

// The data-format name in its 17-character field; blanks for 4 and above.
std::string dataFormatName(int dataFormat);

// The alarm-mode name in its 10-character field; blanks for 3 and above.
std::string alarmModeName(int alarmMode);

// A limit value written in the engineering units of a TypeCode, as a module
// takes it: sign, then the value in the code's digit pattern, values above
// the pattern's limit keeping only their lower digits (12345.6 with 0x0F
// gives +2345.6).
std::string engineeringText(double value, int typeCode);
std::string engineeringText(std::string_view valueText, int typeCode);

// The largest magnitude the engineering-unit text of a TypeCode holds
// without cutting digits: 10, 100, 1000, 10000 or 100000.
double engineeringLimit(int typeCode);
// True when the engineering-unit text carries the value whole (its magnitude
// at most the limit), so a module is never sent a cut value.
bool engineeringTextHolds(double value, int typeCode);

// An analog reading (a ">" reply without its ">") in engineering units:
// formats 0 and 3 plain decimal, 1 and 2 scaled by the full-scale value and
// written "###0.0000". Any other format gives an empty text.
std::string readingToEngineering(std::string_view reading, int typeCode, int dataFormat);

}  // namespace orvane::protocol
