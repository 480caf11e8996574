// The rows of the monitor's record, a CSV file for a spreadsheet: one row per
// module per pass with the time of its readings, the address in decimal, the
// model, the reading of this pass as a number with "." (empty when it
// failed) and its unit, and the grid's input and output texts. The grid's
// "DI/Counter" is split in two, the input and the count, so that a
// multi-function module's "1/12" is never taken for a date.
#pragma once

#include <QDateTime>
#include <QString>
#include <string>
#include <string_view>

#include "admin/diag/monitor_columns.h"

namespace orvane::admin {

inline constexpr std::string_view kMonitorRecordHeader =
    "Time,Address,Model,AD/DA Data,Unit,DI,Counter,DO/Alarm";

// The header as the record's first line, CR LF ended.
std::string monitorRecordHeader();

struct MonitorRecordEntry {
  int address;
  QString model;
  MonitorPoll poll;
};

// One line of the record, CR LF ended. Texts lose their filling blanks; the
// "*" of a failed input or output read stays as the grid shows it.
std::string monitorRecordRow(const QDateTime& time, const MonitorRecordEntry& entry,
                             const MonitorValue& value, const MonitorRow& row);

}  // namespace orvane::admin
