// The monitor's grid as plain functions: its size and interval, the columns
// written once at load, what a tick polls for each model, and the live
// columns each reply gives. A reply that does not count marks its columns
// "*" or leaves them as they were, as each function says; a reply is never
// read past its end.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace orvane::admin {

inline constexpr int kMonitorColumns = 6;

// Rows of the grid, the headings' row included: one per entry, at least 16.
int monitorRowCount(int moduleCount);

// 500 ms per module, so that one pass normally fits in one interval, capped
// at the longest interval the timer ever had (32767 ms); 0, no polling, for
// an empty list.
int monitorInterval(int moduleCount);

// "Model": the model name without its filling blanks.
QString monitorModel(const std::string& modelName);
// "Remark": the TypeCode's range name in its 16-character field.
QString monitorRemark(int typeCode);

// What a tick asks a module, by its model's 3-character code.
enum class MonitorPoll {
  Digital,         // "$AA6"
  MultiFunction,   // the reading, "@AADI" and "@AARE"
  AnalogOutput,    // the read-back ("$AA6", "$AA6A" on a 7347), "$AA8" on a 7347
  AnalogInput,     // the reading of channel 0
  CounterChannel,  // "#AA0D" and "@AADI"
  Nothing,         // converters and unknown models keep their fixed columns
};
MonitorPoll monitorPoll(const std::string& modelName);

// The live columns of one row.
struct MonitorRow {
  QString data;    // "AD/DA Data"
  QString input;   // "DI/Counter"
  QString output;  // "DO/Alarm"

  bool operator==(const MonitorRow&) const = default;
};

// A row's reading as the monitor's record keeps it: the value with "." as
// the decimal point whatever the locale (the hexadecimal digits of a
// read-back in data format 2), empty when the pass read none, and its unit.
struct MonitorValue {
  std::string value;
  QString unit;

  bool operator==(const MonitorValue&) const = default;
};

// "$AA6" of a digital module (key "451", "469", ...): the output and input
// bytes the model has, each as its reply digits and "H", " " for the half
// it lacks. It counts as a "!" reply of 7 characters, 11 for the 7469,
// whose shown digits are hexadecimal; otherwise both columns show "*".
void digitalColumns(MonitorRow& row, const std::string& key, bool exchangeOK,
                    const std::string& reply);

// "AD/DA Data" of an analog input: the reading with "+" before a value of 0
// or more and the user's decimal separator ("*error*" as it is), then the
// unit.
void analogInputData(MonitorRow& row, const std::string& reading, const std::string& unit,
                     char decimalSeparator);
// The same reading for the record; no value for "*error*".
MonitorValue analogInputValue(const std::string& reading, const std::string& unit);

// "@AADI" and "@AARE" of a multi-function module. The status counts as a
// "!" reply of 8 characters with hexadecimal outputs at 4-5: "DO/Alarm" the
// alarm ("LowAlarm", "HighAlarm" or twelve blanks) when the alarm mode at 3
// is on, else the outputs "00" to "11" (unchanged for other values), and
// "DI/Counter" the input digit at 6; otherwise both show "*". The event
// count counts as a "!" reply of 8 characters with five digits at 3:
// "DI/Counter" becomes the input digit (or "*" when the status did not
// count), "/" and the count without leading zeros; otherwise it keeps the
// status's text.
void multiFunctionColumns(MonitorRow& row, bool statusOK, const std::string& status, bool countOK,
                          const std::string& count);

// The body of an analog output's read-back: "6", or "6A" (output A) on a
// 7347.
std::string outputReadBackBody(const std::string& key);

// "AD/DA Data" of an analog output's read-back: the value from position 3
// with the user's decimal separator, then the unit of its data format:
// the engineering unit in format 0, "%" in format 1, "H" in format 2 (a
// hexadecimal read-back is no value in mA or V). It counts as a "!" reply
// whose value has the shape of the format (sign optional, "00.000";
// "000.00"; three hexadecimal digits); otherwise the column is unchanged.
void outputReadBackData(MonitorRow& row, int typeCode, int dataFormat, bool exchangeOK,
                        const std::string& reply, char decimalSeparator);
// The same read-back for the record; nothing when the reply does not count.
std::optional<MonitorValue> outputReadBackValue(int typeCode, int dataFormat, bool exchangeOK,
                                                const std::string& reply);

// "$AA8" of a 7347: "DI/Counter" the input byte at 1-2 and "H", from a "!"
// reply of 7 characters with hexadecimal digits there; otherwise unchanged.
void quadInputColumn(MonitorRow& row, bool exchangeOK, const std::string& reply);

// "#AA0D" of the counter module: "DI/Counter" the count of channel 0 without
// leading zeros; a reply that is not ">" and 1 to 10 digits leaves it
// unchanged (never 0).
void counterValueColumn(MonitorRow& row, bool exchangeOK, const std::string& reply);

// "@AADI" of the counter module: "DO/Alarm" the outputs "00" to "11" from the
// hexadecimal digits at 4-5 of a "!" reply (unchanged for other values);
// "*" when the reply does not hold them.
void counterOutputColumn(MonitorRow& row, bool exchangeOK, const std::string& reply);

}  // namespace orvane::admin
