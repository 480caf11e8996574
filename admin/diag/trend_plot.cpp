#include "admin/diag/trend_plot.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace orvane::admin {

namespace {

constexpr int kMaxTicks = 6;
constexpr int kTickLength = 3;
constexpr double kTimeGridSeconds = 10.0;

// All but the traces and the alarm lines are grey, so a trace's colour in the
// picture can only come from that trace.
const QColor kPlotBackground(255, 255, 255);
const QColor kGrid(224, 224, 224);
const QColor kFrame(128, 128, 128);

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

QLabel* traceSwatch(int trace, QWidget* parent) {
  auto* mark = new QLabel(parent);
  mark->setFixedSize(10, 10);
  mark->setStyleSheet(
      QStringLiteral("background-color: %1").arg(TrendPlot::traceColor(trace).name()));
  return mark;
}

QColor TrendPlot::traceColor(int trace) {
  static const std::array<QColor, 8> colours{QColor(0x1f, 0x5f, 0xbf), QColor(0xe0, 0x70, 0x00),
                                             QColor(0x2a, 0x9d, 0x2a), QColor(0x8a, 0x3f, 0xbf),
                                             QColor(0x8c, 0x56, 0x4b), QColor(0xd0, 0x30, 0x9a),
                                             QColor(0x00, 0x97, 0x9c), QColor(0x7f, 0x7f, 0x00)};
  auto size = static_cast<int>(colours.size());
  return colours[static_cast<std::size_t>(((trace % size) + size) % size)];
}

QColor TrendPlot::limitColor() { return QColor(0xd0, 0x00, 0x00); }

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
  return niceAxis(min, max, kMaxTicks);
}

std::optional<double> TrendPlot::newestTime() const { return m_newest; }

int TrendPlot::sampleCount(int trace) const {
  return validTrace(trace) ? m_traces[static_cast<std::size_t>(trace)].size() : 0;
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
  double fraction = (axis.high - value) / (axis.high - axis.low);
  return m_plotArea.top() + static_cast<int>(std::lround(fraction * (m_plotArea.height() - 1)));
}

int TrendPlot::columnOf(double secondsFromLeft) const {
  double fraction = secondsFromLeft / kWindowSeconds;
  return m_plotArea.left() + static_cast<int>(std::lround(fraction * (m_plotArea.width() - 1)));
}

void TrendPlot::rebuildBackground(const TrendAxis& axis) {
  QFontMetrics metrics(font());
  Ticks ticks = ticksOf(axis);
  int decimals = axisDecimals(axis.step);
  int labelWidth = metrics.horizontalAdvance(m_unit);
  for (int i = 0; i < ticks.count; ++i) {
    QString label = valueLabel(tickValue(axis, ticks, i), decimals);
    labelWidth = std::max(labelWidth, metrics.horizontalAdvance(label));
  }
  // The "-60 s" under the left edge must fit as well.
  int left =
      std::max(labelWidth + kTickLength + 4, metrics.horizontalAdvance(timeLabel(-60)) / 2 + 2);
  int top = metrics.height() + 2;
  int right = metrics.horizontalAdvance(timeLabel(0)) / 2 + 2;
  int bottom = metrics.height() + kTickLength + 2;
  m_plotArea = QRect(left, top, width() - left - right, height() - top - bottom);

  qreal ratio = devicePixelRatioF();
  m_background = QPixmap(size() * ratio);
  m_background.setDevicePixelRatio(ratio);
  m_background.fill(palette().color(QPalette::Window));
  m_backgroundAxis = axis;
  if (m_plotArea.width() < 2 || m_plotArea.height() < 2) return;

  QPainter painter(&m_background);
  painter.fillRect(m_plotArea, kPlotBackground);
  drawValueGrid(painter, axis);
  drawTimeGrid(painter);
  painter.setPen(kFrame);
  painter.drawRect(m_plotArea.adjusted(0, 0, -1, -1));
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(QRect(0, 0, width(), top), Qt::AlignLeft | Qt::AlignVCenter, m_unit);
}

void TrendPlot::drawValueGrid(QPainter& painter, const TrendAxis& axis) const {
  Ticks ticks = ticksOf(axis);
  int decimals = axisDecimals(axis.step);
  int height = painter.fontMetrics().height();
  for (int i = 0; i < ticks.count; ++i) {
    double value = tickValue(axis, ticks, i);
    int y = rowOf(value, axis);
    painter.setPen(kGrid);
    painter.drawLine(m_plotArea.left(), y, m_plotArea.right(), y);
    painter.setPen(kFrame);
    painter.drawLine(m_plotArea.left() - kTickLength, y, m_plotArea.left() - 1, y);
    painter.setPen(palette().color(QPalette::WindowText));
    QRect box(0, y - height / 2, m_plotArea.left() - kTickLength - 2, height);
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, valueLabel(value, decimals));
  }
}

void TrendPlot::drawTimeGrid(QPainter& painter) const {
  QFontMetrics metrics = painter.fontMetrics();
  int widest = metrics.horizontalAdvance(timeLabel(-60));
  // Every grid line is labelled when the labels fit, else every third.
  int spacing = (m_plotArea.width() - 1) / static_cast<int>(kWindowSeconds / kTimeGridSeconds);
  int labelEvery = spacing > widest * 3 / 2 ? 1 : 3;
  int bottom = m_plotArea.bottom();
  int lines = static_cast<int>(kWindowSeconds / kTimeGridSeconds);
  for (int i = 0; i <= lines; ++i) {
    int x = columnOf(i * kTimeGridSeconds);
    painter.setPen(kGrid);
    painter.drawLine(x, m_plotArea.top(), x, bottom);
    painter.setPen(kFrame);
    painter.drawLine(x, bottom + 1, x, bottom + kTickLength);
    if ((lines - i) % labelEvery != 0) continue;
    painter.setPen(palette().color(QPalette::WindowText));
    auto seconds = static_cast<int>(i * kTimeGridSeconds - kWindowSeconds);
    QRect box(x - widest, bottom + kTickLength + 1, 2 * widest, metrics.height());
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, timeLabel(seconds));
  }
}

void TrendPlot::drawLimits(QPainter& painter, const TrendAxis& axis) const {
  painter.setPen(QPen(limitColor(), 1, Qt::DashLine));
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
  painter.setPen(QPen(traceColor(index), 1));
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
