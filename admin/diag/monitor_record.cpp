#include "admin/diag/monitor_record.h"

#include <utility>
#include <vector>

#include "admin/diag/csv_text.h"

namespace orvane::admin {

namespace {

std::string cell(const QString& text) { return text.trimmed().toStdString(); }

// The input and the count of the grid's "DI/Counter": a multi-function
// module shows "input/count", the counter module its count alone, every
// other module its inputs.
std::pair<std::string, std::string> inputAndCount(MonitorPoll poll, const QString& shown) {
  switch (poll) {
    case MonitorPoll::MultiFunction: {
      const qsizetype slash = shown.indexOf(QLatin1Char('/'));
      if (slash < 0) return {cell(shown), {}};
      return {cell(shown.left(slash)), cell(shown.mid(slash + 1))};
    }
    case MonitorPoll::CounterChannel:
      return {{}, cell(shown)};
    default:
      return {cell(shown), {}};
  }
}

}  // namespace

std::string monitorRecordHeader() { return std::string(kMonitorRecordHeader) + "\r\n"; }

std::string monitorRecordRow(const QDateTime& time, const MonitorRecordEntry& entry,
                             const MonitorValue& value, const MonitorRow& row) {
  auto [input, count] = inputAndCount(entry.poll, row.input);
  return csvLine({csvTime(time), std::to_string(entry.address), cell(entry.model), value.value,
                  cell(value.unit), std::move(input), std::move(count), cell(row.output)});
}

}  // namespace orvane::admin
