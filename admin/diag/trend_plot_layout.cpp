#include "admin/diag/trend_plot_layout.h"

#include <QFontMetricsF>
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace orvane::admin {

namespace {

constexpr int kMaxTicks = 6;
constexpr int kTimeGridLines = 6;
constexpr double kTimeGridSeconds = kTrendWindowSeconds / kTimeGridLines;

// The ticks of an axis as whole multiples of its step, so that rounding never
// turns the last tick into a near miss of the high end.
struct Ticks {
  double first;
  int count;
};

Ticks ticksOf(const TrendAxis& axis) {
  double first = std::round(axis.low / axis.step);
  int count = static_cast<int>(std::lround((axis.high - axis.low) / axis.step)) + 1;
  return {first, count};
}

double tickValue(const TrendAxis& axis, const Ticks& ticks, int index) {
  double value = (ticks.first + index) * axis.step;
  return std::fabs(value) < axis.step * 1e-6 ? 0.0 : value;
}

QString valueLabel(double value, int decimals) { return QLocale().toString(value, 'f', decimals); }

QString timeLabel(int seconds) { return QLocale().toString(seconds) + QStringLiteral(" s"); }

// Above the plot a line for the unit and the upper half of the top value
// label; under it the lower half of the bottom value label (at least the
// tick), then the line of the time labels.
struct Rows {
  int top;
  int timeGap;
  int bottom;
};

// A line of text takes its height and leading, as the painter lays it out,
// rounded up to whole pixels.
int lineOf(const QFontMetricsF& metrics) {
  return static_cast<int>(std::ceil(std::max(metrics.height(), metrics.lineSpacing())));
}

Rows rowsOf(const QFontMetricsF& metrics) {
  const int line = lineOf(metrics);
  const int timeGap = std::max(kTrendTickLength + 1, (line + 1) / 2);
  return {line + line / 2 + 1, timeGap, timeGap + line + 1};
}

int advanceOf(const QFontMetricsF& metrics, const QString& text) {
  return static_cast<int>(std::ceil(metrics.horizontalAdvance(text)));
}

// The text at the top of the box, aligned across it as asked, in a rectangle
// of whole pixels that holds all of it.
TrendText placed(const QFontMetricsF& metrics, const QRect& box, Qt::Alignment across,
                 const QString& text) {
  const int width = advanceOf(metrics, text);
  int left = box.left();
  if (across & Qt::AlignRight) left = box.right() + 1 - width;
  if (across & Qt::AlignHCenter) left = box.left() + (box.width() - width) / 2;
  return {QRect(left, box.top(), width, lineOf(metrics)), text, across | Qt::AlignTop};
}

// Every tick is labelled when the labels fit between them, else every
// second, third, ... counted from the top.
void placeValueLabels(const QFontMetricsF& metrics, const TrendAxis& axis,
                      TrendPlotLayout& layout) {
  const Ticks ticks = ticksOf(axis);
  const int decimals = axisDecimals(axis.step);
  const int line = lineOf(metrics);
  const int width = layout.plotArea.left() - kTrendTickLength - 2;
  // Rows a line and a pixel apart keep their labels apart after rounding.
  const double spacing = (layout.plotArea.height() - 1.0) / std::max(ticks.count - 1, 1);
  int labelEvery = 1;
  while (labelEvery * spacing < line + 1 && labelEvery < ticks.count - 1) ++labelEvery;
  for (int i = ticks.count - 1; i >= 0; --i) {
    const double value = tickValue(axis, ticks, i);
    const int y = trendRow(layout.plotArea, value, axis);
    layout.valueRows.push_back(y);
    if ((ticks.count - 1 - i) % labelEvery != 0) continue;
    layout.valueLabels.push_back(placed(metrics, QRect(0, y - line / 2, width, line),
                                        Qt::AlignRight, valueLabel(value, decimals)));
  }
}

// Every grid line is labelled when the labels fit, else every second, third
// or only the two ends.
void placeTimeLabels(const QFontMetricsF& metrics, int timeGap, TrendPlotLayout& layout) {
  const QRect& plot = layout.plotArea;
  const int widest = advanceOf(metrics, timeLabel(-60));
  const int spacing = (plot.width() - 1) / kTimeGridLines;
  int labelEvery = kTimeGridLines;
  for (int every : {3, 2, 1})
    if (spacing * every > widest * 3 / 2) labelEvery = every;
  for (int i = 0; i <= kTimeGridLines; ++i) {
    const int x = trendColumn(plot, i * kTimeGridSeconds);
    layout.timeColumns.push_back(x);
    if ((kTimeGridLines - i) % labelEvery != 0) continue;
    const auto seconds = static_cast<int>(i * kTimeGridSeconds - kTrendWindowSeconds);
    const QRect box(x - widest, plot.bottom() + timeGap, 2 * widest, lineOf(metrics));
    layout.timeLabels.push_back(placed(metrics, box, Qt::AlignHCenter, timeLabel(seconds)));
  }
}

}  // namespace

int trendTicksThatFit(const QFont& font, QSize size) {
  const QFontMetricsF metrics(font);
  const Rows rows = rowsOf(metrics);
  const int plotHeight = size.height() - rows.top - rows.bottom;
  // Rows of ticks a line and a pixel apart keep their labels apart after
  // rounding.
  const int fit = (plotHeight - 1) / (lineOf(metrics) + 1) + 1;
  return std::clamp(fit, 3, kMaxTicks);
}

TrendPlotLayout trendPlotLayout(const QFont& font, QSize size, const QString& unit,
                                const TrendAxis& axis) {
  const QFontMetricsF metrics(font);
  const Ticks ticks = ticksOf(axis);
  const int decimals = axisDecimals(axis.step);
  int labelWidth = 0;
  for (int i = 0; i < ticks.count; ++i)
    labelWidth =
        std::max(labelWidth, advanceOf(metrics, valueLabel(tickValue(axis, ticks, i), decimals)));
  // The "-60 s" under the left edge must fit as well.
  const int left =
      std::max(labelWidth + kTrendTickLength + 4, advanceOf(metrics, timeLabel(-60)) / 2 + 2);
  const int right = advanceOf(metrics, timeLabel(0)) / 2 + 2;
  const Rows rows = rowsOf(metrics);

  TrendPlotLayout layout;
  layout.plotArea =
      QRect(left, rows.top, size.width() - left - right, size.height() - rows.top - rows.bottom);
  layout.unit = placed(metrics, QRect(0, 0, size.width(), lineOf(metrics)), Qt::AlignLeft, unit);
  if (layout.plotArea.width() < 2 || layout.plotArea.height() < 2) return layout;
  placeValueLabels(metrics, axis, layout);
  placeTimeLabels(metrics, rows.timeGap, layout);
  return layout;
}

int trendRow(const QRect& plotArea, double value, const TrendAxis& axis) {
  double fraction = (axis.high - value) / (axis.high - axis.low);
  return plotArea.top() + static_cast<int>(std::lround(fraction * (plotArea.height() - 1)));
}

int trendColumn(const QRect& plotArea, double secondsFromLeft) {
  double fraction = secondsFromLeft / kTrendWindowSeconds;
  return plotArea.left() + static_cast<int>(std::lround(fraction * (plotArea.width() - 1)));
}

}  // namespace orvane::admin
