// Where the trend plot puts its plot area, its grid and its texts, for a size
// and a font: the unit has a line of its own above the value axis, the value
// labels stand left of the plot, the time labels under it, and no text
// overlaps another or the plot, whatever the font size.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

#include "admin/diag/trend_axis.h"

namespace orvane::admin {

// A text, drawn into its rectangle with its alignment; the rectangle holds
// all of it.
struct TrendText {
  QRect rect;
  QString text;
  Qt::Alignment alignment;
};

struct TrendPlotLayout {
  QRect plotArea;
  TrendText unit;
  std::vector<int> valueRows;  // one grid line per tick, top to bottom
  std::vector<TrendText> valueLabels;
  std::vector<int> timeColumns;  // -60 s to 0 s
  std::vector<TrendText> timeLabels;
};

constexpr double kTrendWindowSeconds = 60.0;
constexpr int kTrendTickLength = 3;

// The most ticks the value axis may have in a plot of this size and font,
// so that its labels stand apart (3 at the least).
int trendTicksThatFit(const QFont& font, QSize size);

TrendPlotLayout trendPlotLayout(const QFont& font, QSize size, const QString& unit,
                                const TrendAxis& axis);

// The row of a value and the column of a time (seconds from the left edge)
// in the plot area.
int trendRow(const QRect& plotArea, double value, const TrendAxis& axis);
int trendColumn(const QRect& plotArea, double secondsFromLeft);

}  // namespace orvane::admin
