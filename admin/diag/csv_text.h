// The pieces of the CSV files the diagnostic windows and the monitor write:
// fields quoted where a spreadsheet needs it, numbers with "." whatever the
// user's locale, times in ISO 8601 local time with the offset from UTC.
#pragma once

#include <QDateTime>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::admin {

// The field as it stands, or in double quotes with its quotes doubled when
// it holds a comma, a quote, a CR or an LF.
std::string csvField(std::string_view text);

// The fields, quoted where needed, joined by commas and ended by CR LF.
std::string csvLine(const std::vector<std::string>& fields);

// A value with "." as the decimal point and as few digits as it needs; an
// empty cell for NaN (a failed reading).
std::string csvNumber(double value);

// 2026-12-10T14:03:22.125+01:00: the time to the millisecond in its own
// zone (the local time, as the windows take it) and that zone's offset from
// UTC, "+00:00" in UTC too.
std::string csvTime(const QDateTime& time);

}  // namespace orvane::admin
