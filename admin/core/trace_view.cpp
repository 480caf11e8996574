#include "admin/core/trace_view.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace orvane::admin {

namespace {

constexpr char kFirstPrintable = 0x20;
constexpr char kLastPrintable = 0x7E;
constexpr int kMargin = 4;

bool printableAscii(const std::string& line) {
  return std::all_of(line.begin(), line.end(),
                     [](char c) { return c >= kFirstPrintable && c <= kLastPrintable; });
}

}  // namespace

TraceView::TraceView(std::size_t capacity, QWidget* parent)
    : QAbstractScrollArea(parent), capacity_(capacity) {
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
  takeFont();
}

void TraceView::takeFont() {
  raw_ = QRawFont::fromFont(font());
  glyphs_.clear();
  advances_.clear();
  QString ascii;
  for (char c = kFirstPrintable; c <= kLastPrintable; ++c) ascii += QLatin1Char(c);
  if (raw_.isValid()) {
    glyphs_ = raw_.glyphIndexesForString(ascii);
    advances_ = raw_.advancesForGlyphIndexes(glyphs_);
    if (glyphs_.size() != ascii.size() || advances_.size() != ascii.size()) {
      glyphs_.clear();
      advances_.clear();
    }
  }
  widest_ = 1;
  for (const QPointF& a : advances_) widest_ = std::max(widest_, a.x());
  if (advances_.isEmpty())
    widest_ = std::max<qreal>(1, QFontMetricsF(font()).horizontalAdvance(QLatin1Char('M')));
  updateScrollBars();
  viewport()->update();
}

int TraceView::lineHeight() const { return std::max(1, fontMetrics().lineSpacing()); }

bool TraceView::atEnd() const {
  return verticalScrollBar()->value() == verticalScrollBar()->maximum();
}

void TraceView::append(const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  const bool follow = atEnd();
  for (const auto& line : lines) {
    lines_.push_back(line);
    longest_ = std::max(longest_, line.size());
  }
  int dropped = 0;
  for (; lines_.size() > capacity_; ++dropped) lines_.pop_front();
  const int place = verticalScrollBar()->value() - dropped;
  updateScrollBars();
  verticalScrollBar()->setValue(follow ? verticalScrollBar()->maximum() : place);
  viewport()->update();
}

void TraceView::setLines(const std::vector<std::string>& lines) {
  const std::size_t first = lines.size() > capacity_ ? lines.size() - capacity_ : 0;
  lines_.assign(lines.begin() + static_cast<std::ptrdiff_t>(first), lines.end());
  longest_ = 0;
  for (const auto& line : lines_) longest_ = std::max(longest_, line.size());
  updateScrollBars();
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  viewport()->update();
}

QString TraceView::text() const {
  QString joined;
  for (const auto& line : lines_) {
    if (!joined.isEmpty()) joined += QLatin1Char('\n');
    joined += QString::fromStdString(line);
  }
  return joined;
}

// The vertical bar counts lines, the horizontal one pixels.
void TraceView::updateScrollBars() {
  const int shown = std::max(1, viewport()->height() / lineHeight());
  const int count = static_cast<int>(lines_.size());
  verticalScrollBar()->setPageStep(shown);
  verticalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setRange(0, std::max(0, count - shown));
  const int width =
      static_cast<int>(std::ceil(static_cast<qreal>(longest_) * widest_)) + 2 * kMargin;
  horizontalScrollBar()->setPageStep(viewport()->width());
  horizontalScrollBar()->setSingleStep(static_cast<int>(std::ceil(widest_)));
  horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
}

void TraceView::resizeEvent(QResizeEvent* event) {
  const bool follow = atEnd();
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
  if (follow) verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void TraceView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) takeFont();
}

void TraceView::scrollContentsBy(int, int) { viewport()->update(); }

void TraceView::drawLine(QPainter& painter, const std::string& line, QPointF baseline) {
  if (glyphs_.isEmpty() || !printableAscii(line)) {
    painter.drawText(baseline, QString::fromStdString(line));
    return;
  }
  QVector<quint32> indexes;
  QVector<QPointF> positions;
  indexes.reserve(static_cast<qsizetype>(line.size()));
  positions.reserve(static_cast<qsizetype>(line.size()));
  qreal x = 0;
  for (char c : line) {
    const auto i = static_cast<qsizetype>(c - kFirstPrintable);
    indexes.push_back(glyphs_[i]);
    positions.push_back(QPointF(x, 0));
    x += advances_[i].x();
  }
  QGlyphRun run;
  run.setRawFont(raw_);
  run.setGlyphIndexes(indexes);
  run.setPositions(positions);
  painter.drawGlyphRun(baseline, run);
}

void TraceView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::Text));
  painter.setFont(font());
  const int height = lineHeight();
  const int ascent = fontMetrics().ascent();
  const qreal left = kMargin - horizontalScrollBar()->value();
  const auto first = static_cast<std::size_t>(verticalScrollBar()->value());
  const std::size_t rows = static_cast<std::size_t>(viewport()->height() / height) + 1;
  for (std::size_t row = 0; row < rows && first + row < lines_.size(); ++row)
    drawLine(painter, lines_[first + row],
             QPointF(left, static_cast<qreal>(static_cast<int>(row) * height + ascent)));
}

}  // namespace orvane::admin
