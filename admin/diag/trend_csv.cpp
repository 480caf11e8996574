#include "admin/diag/trend_csv.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "admin/diag/csv_text.h"
#include "admin/diag/trend_plot.h"

namespace orvane::admin {

namespace {

// Every sample time of the columns from `from` on, oldest first, each once.
std::vector<double> rowTimes(const TrendPlot& plot, const std::vector<TrendColumn>& columns,
                             double from) {
  std::vector<double> times;
  for (const TrendColumn& column : columns) {
    const TrendTrace* trace = plot.trace(column.trace);
    if (!trace) continue;
    for (int i = trace->firstAtOrAfter(from); i < trace->size(); ++i)
      times.push_back(trace->at(i).t);
  }
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());
  return times;
}

// Walks one trace alongside the rows: the value at each row's time, if any.
class ColumnCursor {
 public:
  ColumnCursor(const TrendTrace* trace, double from)
      : trace_(trace), next_(trace ? trace->firstAtOrAfter(from) : 0) {}

  std::string cellAt(double t) {
    if (!trace_) return {};
    while (next_ < trace_->size() && trace_->at(next_).t < t) ++next_;
    if (next_ == trace_->size() || trace_->at(next_).t != t) return {};
    return csvNumber(trace_->at(next_).value);
  }

 private:
  const TrendTrace* trace_;
  int next_;
};

}  // namespace

double trendSecondsNow() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

TrendClock::TrendClock(double steadyNow, QDateTime wallNow)
    : steadyNow_(steadyNow), wallNow_(std::move(wallNow)) {}

TrendClock TrendClock::now() { return {trendSecondsNow(), QDateTime::currentDateTime()}; }

QDateTime TrendClock::wallTime(double t) const {
  return wallNow_.addMSecs(std::llround((t - steadyNow_) * 1000.0));
}

QString columnHeading(const QString& name, const QString& unit) {
  return unit.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, unit);
}

std::string trendCsv(const TrendPlot& plot, const std::vector<TrendColumn>& columns,
                     const TrendClock& clock) {
  std::vector<std::string> header{"Time"};
  for (const TrendColumn& column : columns) header.push_back(column.heading.toStdString());
  std::string csv = csvLine(header);
  const std::optional<double> newest = plot.newestTime();
  if (!newest) return csv;
  const double from = *newest - TrendPlot::kWindowSeconds;
  std::vector<ColumnCursor> cursors;
  for (const TrendColumn& column : columns) cursors.emplace_back(plot.trace(column.trace), from);
  for (const double t : rowTimes(plot, columns, from)) {
    std::vector<std::string> row{csvTime(clock.wallTime(t))};
    for (ColumnCursor& cursor : cursors) row.push_back(cursor.cellAt(t));
    csv += csvLine(row);
  }
  return csv;
}

}  // namespace orvane::admin
