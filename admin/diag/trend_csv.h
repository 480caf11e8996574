// The trend's samples as a CSV file: the last minute of the channels the
// window polls, one row per tick. The samples of one tick share its time, so
// they make one row; a failed reading is an empty cell.
#pragma once

#include <QDateTime>
#include <QString>
#include <string>
#include <vector>

namespace orvane::admin {

class TrendPlot;

// The trend's clock: the steady seconds its samples are taken at.
double trendSecondsNow();

// Turns the trend's steady seconds into the local time they were taken at,
// as seen from one moment of both clocks.
class TrendClock {
 public:
  TrendClock(double steadyNow, QDateTime wallNow);
  static TrendClock now();
  QDateTime wallTime(double t) const;

 private:
  double steadyNow_;
  QDateTime wallNow_;
};

struct TrendColumn {
  int trace;
  QString heading;  // with its unit: "Channel 0 (V)"
};

// "Channel 0 (V)"; the name alone for a reading without a unit.
QString columnHeading(const QString& name, const QString& unit);

// "Time" and the headings, then one row per sample time of the last
// TrendPlot::kWindowSeconds before the newest sample, oldest first: its
// local time and each column's value ("." decimals), empty where the reading
// failed or its trace has no sample at that time.
std::string trendCsv(const TrendPlot& plot, const std::vector<TrendColumn>& columns,
                     const TrendClock& clock);

}  // namespace orvane::admin
