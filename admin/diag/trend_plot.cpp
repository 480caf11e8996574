#include "admin/diag/trend_plot.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "admin/core/theme_colours.h"

namespace orvane::admin {

namespace {

// Traces and alarm lines stand out from the plot's background at least as
// far as graphics must (text needs more).
constexpr double kTraceContrast = 3.0;
// The grid is a faint, the frame a half tone between background and text,
// so that a trace's colour in the picture can only come from that trace.
constexpr double kGridShare = 0.12;
constexpr double kFrameShare = 0.5;

QColor plotBackground(const QPalette& palette) { return palette.color(QPalette::Base); }

QColor plotInk(const QPalette& palette, double share) {
  return blend(plotBackground(palette), palette.color(QPalette::Text), share);
}

// A small square in a trace's colour as the plot draws it on the
// application's palette (Qt passes no other to a widget with a style sheet),
// again when that changes.
class TraceSwatch : public QLabel {
 public:
  TraceSwatch(int trace, QWidget* parent) : QLabel(parent), trace_(trace) {
    setFixedSize(10, 10);
    paint();
  }

 protected:
  void changeEvent(QEvent* event) override {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) paint();
  }

 private:
  void paint() {
    const QString sheet =
        QStringLiteral("background-color: %1")
            .arg(TrendPlot::traceColor(trace_, QApplication::palette(this)).name());
    if (styleSheet() != sheet) setStyleSheet(sheet);
  }

  int trace_;
};

}  // namespace

TrendPlot::TrendPlot(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TrendPlot::setTraceCount(int count) {
  m_traces.assign(static_cast<std::size_t>(std::max(count, 0)), TrendTrace());
  m_newest.reset();
  update();
}

int TrendPlot::traceCount() const { return static_cast<int>(m_traces.size()); }

void TrendPlot::setTraceVisible(int trace, bool visible) {
  if (!validTrace(trace)) return;
  m_traces[static_cast<std::size_t>(trace)].setVisible(visible);
  update();
}

QLabel* traceSwatch(int trace, QWidget* parent) { return new TraceSwatch(trace, parent); }

QColor TrendPlot::traceColor(int trace) {
  static const std::array<QColor, 8> colours{QColor(0x1f, 0x5f, 0xbf), QColor(0xe0, 0x70, 0x00),
                                             QColor(0x2a, 0x9d, 0x2a), QColor(0x8a, 0x3f, 0xbf),
                                             QColor(0x8c, 0x56, 0x4b), QColor(0xd0, 0x30, 0x9a),
                                             QColor(0x00, 0x97, 0x9c), QColor(0x7f, 0x7f, 0x00)};
  auto size = static_cast<int>(colours.size());
  return colours[static_cast<std::size_t>(((trace % size) + size) % size)];
}

QColor TrendPlot::limitColor() { return QColor(0xd0, 0x00, 0x00); }

QColor TrendPlot::traceColor(int trace, const QPalette& palette) {
  return readableOn(traceColor(trace), plotBackground(palette), kTraceContrast);
}

QColor TrendPlot::limitColor(const QPalette& palette) {
  return readableOn(limitColor(), plotBackground(palette), kTraceContrast);
}

void TrendPlot::setUnit(const QString& unit) {
  if (unit == m_unit) return;
  m_unit = unit;
  m_backgroundAxis.reset();
  update();
}

void TrendPlot::addSample(int trace, double t, double value) {
  if (!validTrace(trace)) return;
  if (!m_traces[static_cast<std::size_t>(trace)].add(t, value)) return;
  m_newest = m_newest ? std::max(*m_newest, t) : t;
  update();
}

void TrendPlot::setLimits(std::optional<double> low, std::optional<double> high) {
  auto finite = [](std::optional<double> limit) {
    return limit && std::isfinite(*limit) ? limit : std::nullopt;
  };
  m_lowLimit = finite(low);
  m_highLimit = finite(high);
  update();
}

void TrendPlot::clear() {
  for (TrendTrace& trace : m_traces) trace.clear();
  m_newest.reset();
  update();
}

TrendAxis TrendPlot::valueAxis() const {
  double min = std::numeric_limits<double>::infinity();
  double max = -min;
  auto cover = [&](double value) {
    min = std::min(min, value);
    max = std::max(max, value);
  };
  if (m_newest) {
    double start = windowStart();
    for (const TrendTrace& trace : m_traces) {
      if (!trace.visible()) continue;
      for (int i = trace.firstAtOrAfter(start); i < trace.size(); ++i) {
        double value = trace.at(i).value;
        if (std::isfinite(value)) cover(value);
      }
    }
  }
  if (m_lowLimit) cover(*m_lowLimit);
  if (m_highLimit) cover(*m_highLimit);
  return niceAxis(min, max, trendTicksThatFit(font(), size()));
}

std::optional<double> TrendPlot::newestTime() const { return m_newest; }

int TrendPlot::sampleCount(int trace) const {
  return validTrace(trace) ? m_traces[static_cast<std::size_t>(trace)].size() : 0;
}

const TrendTrace* TrendPlot::trace(int trace) const {
  return validTrace(trace) ? &m_traces[static_cast<std::size_t>(trace)] : nullptr;
}

QSize TrendPlot::sizeHint() const { return {360, 180}; }

QSize TrendPlot::minimumSizeHint() const { return {160, 90}; }

void TrendPlot::paintEvent(QPaintEvent*) {
  TrendAxis axis = valueAxis();
  bool resized = m_background.deviceIndependentSize() != QSizeF(size()) ||
                 m_background.devicePixelRatio() != devicePixelRatioF();
  if (resized || m_backgroundAxis != axis) rebuildBackground(axis);
  QPainter painter(this);
  painter.drawPixmap(0, 0, m_background);
  if (m_plotArea.width() < 2 || m_plotArea.height() < 2) return;
  painter.setClipRect(m_plotArea);
  drawLimits(painter, axis);
  if (!m_newest) return;
  for (int trace = 0; trace < traceCount(); ++trace) {
    if (m_traces[static_cast<std::size_t>(trace)].visible()) drawTrace(painter, trace, axis);
  }
}

void TrendPlot::changeEvent(QEvent* event) {
  QEvent::Type type = event->type();
  if (type == QEvent::FontChange || type == QEvent::PaletteChange || type == QEvent::StyleChange) {
    m_backgroundAxis.reset();
    update();
  }
  QWidget::changeEvent(event);
}

bool TrendPlot::validTrace(int trace) const { return trace >= 0 && trace < traceCount(); }

double TrendPlot::windowStart() const { return m_newest.value_or(0.0) - kWindowSeconds; }

int TrendPlot::rowOf(double value, const TrendAxis& axis) const {
  return trendRow(m_plotArea, value, axis);
}

int TrendPlot::columnOf(double secondsFromLeft) const {
  return trendColumn(m_plotArea, secondsFromLeft);
}

TrendPlotLayout TrendPlot::textLayout() const {
  return trendPlotLayout(font(), size(), m_unit, valueAxis());
}

void TrendPlot::rebuildBackground(const TrendAxis& axis) {
  const TrendPlotLayout layout = trendPlotLayout(font(), size(), m_unit, axis);
  m_plotArea = layout.plotArea;
  const QPalette colours = palette();
  qreal ratio = devicePixelRatioF();
  m_background = QPixmap(size() * ratio);
  m_background.setDevicePixelRatio(ratio);
  m_background.fill(colours.color(QPalette::Window));
  m_backgroundAxis = axis;
  if (m_plotArea.width() < 2 || m_plotArea.height() < 2) return;

  QPainter painter(&m_background);
  painter.setFont(font());
  painter.fillRect(m_plotArea, plotBackground(colours));
  drawGrid(painter, layout);
  painter.setPen(plotInk(colours, kFrameShare));
  painter.drawRect(m_plotArea.adjusted(0, 0, -1, -1));
  painter.setPen(colours.color(QPalette::WindowText));
  for (const std::vector<TrendText>* texts : {&layout.valueLabels, &layout.timeLabels})
    for (const TrendText& text : *texts) painter.drawText(text.rect, text.alignment, text.text);
  painter.drawText(layout.unit.rect, layout.unit.alignment, layout.unit.text);
}

void TrendPlot::drawGrid(QPainter& painter, const TrendPlotLayout& layout) const {
  const QRect& plot = layout.plotArea;
  painter.setPen(plotInk(palette(), kGridShare));
  for (int y : layout.valueRows) painter.drawLine(plot.left(), y, plot.right(), y);
  for (int x : layout.timeColumns) painter.drawLine(x, plot.top(), x, plot.bottom());
  painter.setPen(plotInk(palette(), kFrameShare));
  for (int y : layout.valueRows)
    painter.drawLine(plot.left() - kTrendTickLength, y, plot.left() - 1, y);
  for (int x : layout.timeColumns)
    painter.drawLine(x, plot.bottom() + 1, x, plot.bottom() + kTrendTickLength);
}

void TrendPlot::drawLimits(QPainter& painter, const TrendAxis& axis) const {
  painter.setPen(QPen(limitColor(palette()), 1, Qt::DashLine));
  for (const std::optional<double>& limit : {m_lowLimit, m_highLimit}) {
    if (!limit) continue;
    int y = rowOf(*limit, axis);
    painter.drawLine(m_plotArea.left(), y, m_plotArea.right(), y);
  }
}

// Every pixel column gets one vertical stroke from the lowest to the highest
// sample that falls into it, joined from the last sample of the column before
// to the first of this one; a failed reading leaves the join out.
void TrendPlot::drawTrace(QPainter& painter, int index, const TrendAxis& axis) {
  const TrendTrace& trace = m_traces[static_cast<std::size_t>(index)];
  m_lines.clear();
  m_points.clear();
  double start = windowStart();
  ColumnRun run;
  for (int i = trace.firstAtOrAfter(start); i < trace.size(); ++i) {
    const TrendSample& sample = trace.at(i);
    if (!std::isfinite(sample.value)) {
      closeColumn(run);
      run.broken = true;
      continue;
    }
    int x = columnOf(sample.t - start);
    int y = rowOf(sample.value, axis);
    if (run.open && x == run.x) {
      run.yMin = std::min(run.yMin, y);
      run.yMax = std::max(run.yMax, y);
      run.yLast = y;
      continue;
    }
    closeColumn(run);
    run.joinedIn = run.hasPrevious && !run.broken;
    if (run.joinedIn) m_lines.emplace_back(run.previousX, run.previousY, x, y);
    run.broken = false;
    run.open = true;
    run.x = x;
    run.yMin = run.yMax = run.yLast = y;
  }
  closeColumn(run);
  painter.setPen(QPen(traceColor(index, palette()), 1));
  painter.drawLines(m_lines.data(), static_cast<int>(m_lines.size()));
  painter.drawPoints(m_points.data(), static_cast<int>(m_points.size()));
}

void TrendPlot::closeColumn(ColumnRun& run) {
  if (!run.open) return;
  // A single row is already on the join into the column; only the first
  // column after a gap needs a dot of its own.
  if (run.yMin != run.yMax) {
    m_lines.emplace_back(run.x, run.yMin, run.x, run.yMax);
  } else if (!run.joinedIn) {
    m_points.emplace_back(run.x, run.yMin);
  }
  run.open = false;
  run.hasPrevious = true;
  run.previousX = run.x;
  run.previousY = run.yLast;
}

}  // namespace orvane::admin
