// The live trend of the diagnostic windows: the last minute of each polled
// reading, one coloured trace per channel, drawn with QPainter.
#pragma once

#include <QColor>
#include <QLine>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "admin/diag/trend_axis.h"
#include "admin/diag/trend_plot_layout.h"
#include "admin/diag/trend_trace.h"

class QLabel;
class QPainter;

namespace orvane::admin {

// A small square in a trace's colour, beside the label of its reading: which
// line is which.
QLabel* traceSwatch(int trace, QWidget* parent);

class TrendPlot : public QWidget {
 public:
  static constexpr double kWindowSeconds = kTrendWindowSeconds;

  explicit TrendPlot(QWidget* parent = nullptr);

  // Traces 0..count-1, all empty, all visible.
  void setTraceCount(int count);
  int traceCount() const;
  // A hidden trace is neither drawn nor counted in the value axis.
  void setTraceVisible(int trace, bool visible);
  // Eight distinct colours, readable on a white plot; the ninth trace takes
  // the first colour again.
  static QColor traceColor(int trace);
  // The colour of the dashed alarm lines, which no trace uses.
  static QColor limitColor();
  // The colours as drawn on the plot of the palette (its base colour): the
  // same on a light theme, lightened until they stand out on a dark one.
  static QColor traceColor(int trace, const QPalette& palette);
  static QColor limitColor(const QPalette& palette);
  void setUnit(const QString& unit);

  // One polled reading at time t (seconds, any monotonic origin). A NaN value
  // is a failed reading: the trace has a gap there, never a 0. A sample older
  // than the trace's newest, or for a trace that does not exist, is ignored.
  void addSample(int trace, double t, double value);
  // The dashed alarm lines (nullopt: none).
  void setLimits(std::optional<double> low, std::optional<double> high);
  // Empties every trace; the next sample may start at any time.
  void clear();

  // The value axis the next paint uses: as many ticks as the height has
  // room for, six at the most.
  TrendAxis valueAxis() const;
  // Where the next paint puts the plot and its texts.
  TrendPlotLayout textLayout() const;
  // The time of the newest sample of any trace (the right edge, "0 s").
  std::optional<double> newestTime() const;
  // Samples the trace holds, at most TrendTrace::kCapacity however long it runs.
  int sampleCount(int trace) const;
  // The samples of a trace, oldest first (nullptr for one that does not exist).
  const TrendTrace* trace(int trace) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // The pixel column a trace is drawing while it walks its samples.
  struct ColumnRun {
    bool open = false;
    int x = 0;
    int yMin = 0;
    int yMax = 0;
    int yLast = 0;
    bool joinedIn = false;  // a line from the column before reaches this one
    bool hasPrevious = false;
    int previousX = 0;
    int previousY = 0;
    bool broken = false;  // a failed reading since the previous column
  };

  bool validTrace(int trace) const;
  double windowStart() const;
  int rowOf(double value, const TrendAxis& axis) const;
  int columnOf(double secondsFromLeft) const;
  void rebuildBackground(const TrendAxis& axis);
  void drawGrid(QPainter& painter, const TrendPlotLayout& layout) const;
  void drawLimits(QPainter& painter, const TrendAxis& axis) const;
  void drawTrace(QPainter& painter, int index, const TrendAxis& axis);
  void closeColumn(ColumnRun& run);

  std::vector<TrendTrace> m_traces;
  std::optional<double> m_newest;
  std::optional<double> m_lowLimit;
  std::optional<double> m_highLimit;
  QString m_unit;

  // Grid, frame and labels change only with the size, the font, the unit or
  // the axis.
  QPixmap m_background;
  std::optional<TrendAxis> m_backgroundAxis;
  QRect m_plotArea;
  // Reused by every paint, so drawing allocates nothing once it has grown.
  std::vector<QLine> m_lines;
  std::vector<QPoint> m_points;
};

}  // namespace orvane::admin
