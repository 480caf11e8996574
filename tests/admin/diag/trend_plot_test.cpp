// The trend plot as the user sees it: rendered into an image and read back
// pixel by pixel.
#include "admin/diag/trend_plot.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "admin/core/theme_colours.h"

namespace orvane::admin {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
const QColor kWhite(255, 255, 255);

// Where a colour lies in an image.
struct Extent {
  int left = -1;
  int right = -1;
  int top = -1;
  int bottom = -1;
  int pixels = 0;
};

Extent extentOf(const QImage& image, const QColor& colour, QRect area = {}) {
  if (area.isNull()) area = image.rect();
  Extent extent;
  QRgb wanted = colour.rgb();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.pixel(x, y) != wanted) continue;
      if (extent.pixels++ == 0) {
        extent = {x, x, y, y, 1};
      } else {
        extent.left = std::min(extent.left, x);
        extent.right = std::max(extent.right, x);
        extent.top = std::min(extent.top, y);
        extent.bottom = std::max(extent.bottom, y);
      }
    }
  }
  return extent;
}

int pixelsIn(const QImage& image, const QColor& colour, QRect area = {}) {
  return extentOf(image, colour, area).pixels;
}

QRect columns(const QImage& image, int left, int right) {
  return QRect(QPoint(left, 0), QPoint(right, image.height() - 1));
}

// The white inside the plot's frame.
QRect plotInside(const QImage& image) {
  Extent white = extentOf(image, kWhite);
  return QRect(QPoint(white.left, white.top), QPoint(white.right, white.bottom));
}

// A whole run of samples at 10 per second from t0 up to and including t1.
void feed(TrendPlot& plot, int trace, double t0, double t1,
          const std::function<double(double)>& value) {
  for (int i = 0; t0 + i * 0.1 <= t1 + 1e-9; ++i) {
    double t = t0 + i * 0.1;
    plot.addSample(trace, t, value(t));
  }
}

// Margins in a grey no trace uses, so that white is the plot alone.
QPalette plotPalette(const QColor& labels = QColor(0, 0, 0)) {
  QPalette palette;
  palette.setColor(QPalette::Window, QColor(200, 200, 200));
  palette.setColor(QPalette::WindowText, labels);
  palette.setColor(QPalette::Base, kWhite);
  palette.setColor(QPalette::Text, QColor(0, 0, 0));
  return palette;
}

class TrendPlotTest : public ::testing::Test {
 protected:
  TrendPlotTest() {
    plot.setPalette(plotPalette());
    plot.resize(600, 300);
    plot.setTraceCount(3);
  }

  QImage render() {
    QImage image(plot.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    plot.render(&image);
    return image;
  }

  // The column where a time (seconds before the newest sample) lies, from the
  // columns where a trace that spans the whole minute is drawn.
  static int columnAt(const Extent& fullMinute, double secondsBeforeNewest) {
    double fraction = (TrendPlot::kWindowSeconds - secondsBeforeNewest) / TrendPlot::kWindowSeconds;
    return fullMinute.left +
           static_cast<int>(std::lround(fraction * (fullMinute.right - fullMinute.left)));
  }

  TrendPlot plot;
};

// How far apart two colours look, roughly: the largest channel difference.
int distance(const QColor& a, const QColor& b) {
  return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                   std::abs(a.blue() - b.blue())});
}

TEST(TrendPlotColours, EightDistinctColouredTracesReadableOnWhite) {
  for (int i = 0; i < 8; ++i) {
    QColor colour = TrendPlot::traceColor(i);
    SCOPED_TRACE(colour.name().toStdString());
    EXPECT_GE(contrastRatio(colour, kWhite), 3.0) << "too pale on white";
    EXPECT_GE(colour.hsvSaturation(), 100) << "too grey beside the grid";
    EXPECT_NE(colour, TrendPlot::limitColor());
    for (int j = 0; j < i; ++j) EXPECT_NE(colour, TrendPlot::traceColor(j));
  }
  EXPECT_EQ(TrendPlot::traceColor(8), TrendPlot::traceColor(0));
}

// The plot stands on the palette's base: white, a dark grey, black.
TEST(TrendPlotColours, TracesStayDistinctAndStandOutOnEveryBase) {
  for (const QColor& base : {kWhite, QColor(36, 36, 36), QColor(0, 0, 0)}) {
    SCOPED_TRACE(base.name().toStdString());
    QPalette palette;
    palette.setColor(QPalette::Base, base);
    const QColor limit = TrendPlot::limitColor(palette);
    EXPECT_GE(contrastRatio(limit, base), 3.0);
    for (int i = 0; i < 8; ++i) {
      const QColor colour = TrendPlot::traceColor(i, palette);
      EXPECT_GE(contrastRatio(colour, base), 3.0) << i;
      EXPECT_GE(distance(colour, limit), 24) << i;
      for (int j = 0; j < i; ++j)
        EXPECT_GE(distance(colour, TrendPlot::traceColor(j, palette)), 24);
    }
  }
  QPalette white;
  white.setColor(QPalette::Base, kWhite);
  EXPECT_EQ(TrendPlot::traceColor(3, white), TrendPlot::traceColor(3)) << "as designed on white";
}

TEST_F(TrendPlotTest, TraceIsDrawnWhereItsSamplesAreAndNowhereElse) {
  feed(plot, 1, 0, 60, [](double) { return 5; });
  feed(plot, 0, 30, 60, [](double t) { return (t - 30) / 3; });
  QImage image = render();

  Extent minute = extentOf(image, TrendPlot::traceColor(1));
  Extent ramp = extentOf(image, TrendPlot::traceColor(0));
  ASSERT_GT(minute.pixels, 0);
  ASSERT_GT(ramp.pixels, 0);
  EXPECT_GT(minute.right - minute.left, 500);
  EXPECT_NEAR(ramp.left, columnAt(minute, 30), 2);
  EXPECT_NEAR(ramp.right, minute.right, 1);
  EXPECT_EQ(pixelsIn(image, TrendPlot::traceColor(0), columns(image, 0, ramp.left - 1)), 0);
  EXPECT_EQ(pixelsIn(image, TrendPlot::traceColor(2)), 0);

  // The ramp rises from the bottom of the plot to its top.
  Extent rampStart =
      extentOf(image, TrendPlot::traceColor(0), columns(image, ramp.left, ramp.left + 3));
  Extent rampEnd =
      extentOf(image, TrendPlot::traceColor(0), columns(image, ramp.right - 3, ramp.right));
  EXPECT_GT(rampStart.bottom, rampEnd.top + 200);
  EXPECT_DOUBLE_EQ(plot.valueAxis().low, 0);
  EXPECT_DOUBLE_EQ(plot.valueAxis().high, 10);
}

TEST_F(TrendPlotTest, DenseSamplesFillEveryColumnFromItsLowestToItsHighest) {
  plot.resize(300, 200);
  for (int i = 0; i <= 1200; ++i) plot.addSample(0, i * 0.05, i % 2 == 0 ? 0 : 10);
  QImage image = render();
  Extent all = extentOf(image, TrendPlot::traceColor(0));
  ASSERT_GT(all.pixels, 0);
  for (int x = all.left; x <= all.right; ++x) {
    Extent column = extentOf(image, TrendPlot::traceColor(0), columns(image, x, x));
    SCOPED_TRACE(x);
    ASSERT_EQ(column.top, all.top);
    ASSERT_EQ(column.bottom, all.bottom);
    ASSERT_EQ(column.pixels, all.bottom - all.top + 1);
  }
}

TEST_F(TrendPlotTest, FailedReadingLeavesAGapAndNeverAZero) {
  feed(plot, 0, 0, 60, [](double t) { return t >= 20 && t < 30 ? kNan : 7.5 + 2.5 * std::sin(t); });
  QImage image = render();
  Extent trace = extentOf(image, TrendPlot::traceColor(0));
  ASSERT_GT(trace.pixels, 0);
  int gapStart = columnAt(trace, 40) + 1;
  int gapEnd = columnAt(trace, 30) - 1;
  EXPECT_EQ(pixelsIn(image, TrendPlot::traceColor(0), columns(image, gapStart, gapEnd)), 0);
  EXPECT_GT(pixelsIn(image, TrendPlot::traceColor(0), columns(image, gapStart - 3, gapStart - 1)),
            0);
  EXPECT_GT(pixelsIn(image, TrendPlot::traceColor(0), columns(image, gapEnd + 1, gapEnd + 3)), 0);
  EXPECT_DOUBLE_EQ(plot.valueAxis().low, 5);
  EXPECT_DOUBLE_EQ(plot.valueAxis().high, 10);
}

TEST_F(TrendPlotTest, LoneReadingBetweenFailuresIsStillADot) {
  feed(plot, 1, 0, 60, [](double) { return 0; });
  plot.addSample(0, 29.9, kNan);
  plot.addSample(0, 30, 1);
  plot.addSample(0, 30.1, kNan);
  QImage image = render();
  Extent dot = extentOf(image, TrendPlot::traceColor(0));
  EXPECT_EQ(dot.pixels, 1);
  EXPECT_NEAR(dot.left, columnAt(extentOf(image, TrendPlot::traceColor(1)), 30), 1);
}

TEST_F(TrendPlotTest, HiddenTraceIsNeitherDrawnNorScaled) {
  feed(plot, 0, 0, 60, [](double t) { return t / 60; });
  feed(plot, 1, 0, 60, [](double) { return 1000; });
  plot.setTraceVisible(1, false);
  QImage image = render();
  EXPECT_EQ(pixelsIn(image, TrendPlot::traceColor(1)), 0);
  EXPECT_GT(pixelsIn(image, TrendPlot::traceColor(0)), 0);
  EXPECT_DOUBLE_EQ(plot.valueAxis().high, 1);

  plot.setTraceVisible(1, true);
  image = render();
  EXPECT_GT(pixelsIn(image, TrendPlot::traceColor(1)), 0);
  EXPECT_GE(plot.valueAxis().high, 1000);
}

TEST_F(TrendPlotTest, SamplesOlderThanAMinuteScrollOff) {
  feed(plot, 0, 0, 50, [](double) { return 100; });
  feed(plot, 1, 0, 90, [](double t) { return t / 90; });
  QImage image = render();
  Extent minute = extentOf(image, TrendPlot::traceColor(1));
  Extent old = extentOf(image, TrendPlot::traceColor(0));
  ASSERT_GT(old.pixels, 0);
  EXPECT_NEAR(old.left, minute.left, 1);
  EXPECT_NEAR(old.right, columnAt(minute, 40), 2);
  EXPECT_GE(plot.valueAxis().high, 100);

  feed(plot, 1, 90.1, 120, [](double t) { return t / 120; });
  image = render();
  EXPECT_DOUBLE_EQ(*plot.newestTime(), 120);
  EXPECT_EQ(pixelsIn(image, TrendPlot::traceColor(0)), 0);
  EXPECT_DOUBLE_EQ(plot.valueAxis().high, 1);
}

TEST_F(TrendPlotTest, LimitsAreDashedLinesAtTheirValues) {
  feed(plot, 0, 0, 29.9, [](double) { return 2; });
  feed(plot, 0, 30, 60, [](double) { return 8; });
  // A stroke at the left edge widens the axis, so the limits are not its ends.
  plot.addSample(1, 0, 0);
  plot.addSample(1, 0.1, 10);
  plot.setLimits(2.0, 8.0);
  QImage image = render();
  Extent trace = extentOf(image, TrendPlot::traceColor(0));
  int middle = columnAt(trace, 30);
  int lowRow =
      extentOf(image, TrendPlot::traceColor(0), columns(image, trace.left, middle - 5)).top;
  int highRow =
      extentOf(image, TrendPlot::traceColor(0), columns(image, middle + 5, trace.right)).top;
  ASSERT_GT(lowRow, highRow + 100);

  Extent limits = extentOf(image, TrendPlot::limitColor());
  EXPECT_EQ(limits.top, highRow);
  EXPECT_EQ(limits.bottom, lowRow);
  auto dashes = [&](int y, int from, int to) {
    int runs = 0;
    bool previous = false;
    for (int x = from; x <= to; ++x) {
      bool on = image.pixel(x, y) == TrendPlot::limitColor().rgb();
      if (on && !previous) ++runs;
      previous = on;
    }
    return runs;
  };
  EXPECT_GE(dashes(lowRow, middle + 5, trace.right), 10);
  EXPECT_GE(dashes(highRow, trace.left, middle - 5), 10);
  for (int y = limits.top + 1; y < limits.bottom; ++y) {
    ASSERT_EQ(pixelsIn(image, TrendPlot::limitColor(), QRect(0, y, image.width(), 1)), 0) << y;
  }

  plot.setLimits(std::nullopt, std::nullopt);
  EXPECT_EQ(pixelsIn(render(), TrendPlot::limitColor()), 0);
}

TEST_F(TrendPlotTest, LimitsWidenTheValueAxis) {
  plot.setLimits(0.0, 100.0);
  EXPECT_DOUBLE_EQ(plot.valueAxis().low, 0);
  EXPECT_DOUBLE_EQ(plot.valueAxis().high, 100);
  feed(plot, 0, 0, 60, [](double t) { return 40 + t / 3; });
  EXPECT_DOUBLE_EQ(plot.valueAxis().low, 0);
  EXPECT_DOUBLE_EQ(plot.valueAxis().high, 100);
  plot.setLimits(std::nullopt, 150.0);
  EXPECT_GE(plot.valueAxis().low, 40 - plot.valueAxis().step);
  EXPECT_GE(plot.valueAxis().high, 150);
  plot.setLimits(kNan, std::nullopt);
  EXPECT_DOUBLE_EQ(plot.valueAxis().low, 40);
  EXPECT_DOUBLE_EQ(plot.valueAxis().high, 60);
}

TEST_F(TrendPlotTest, HoursOfPollingHoldAFixedRingAndDrawTheLastMinute) {
  QImage expected;
  {
    TrendPlot fresh;
    fresh.setPalette(plot.palette());
    fresh.resize(plot.size());
    fresh.setTraceCount(3);
    auto wave = [](double t) { return std::sin(t / 7) * 50; };
    for (int i = 100'000 - 1000; i < 100'000; ++i) fresh.addSample(0, i * 0.1, wave(i * 0.1));
    for (int i = 0; i < 100'000; ++i) plot.addSample(0, i * 0.1, wave(i * 0.1));
    expected = QImage(fresh.size(), QImage::Format_RGB32);
    fresh.render(&expected);
  }
  EXPECT_EQ(plot.sampleCount(0), TrendTrace::kCapacity);
  EXPECT_EQ(plot.sampleCount(1), 0);
  EXPECT_EQ(render(), expected);
}

TEST_F(TrendPlotTest, OutOfRangeTracesAreIgnored) {
  QImage empty = render();
  plot.addSample(-1, 0, 5);
  plot.addSample(3, 0, 5);
  plot.setTraceVisible(7, false);
  EXPECT_EQ(plot.sampleCount(-1), 0);
  EXPECT_EQ(plot.sampleCount(3), 0);
  EXPECT_FALSE(plot.newestTime());
  EXPECT_EQ(render(), empty);
}

TEST_F(TrendPlotTest, ClearAndANewTraceCountStartOver) {
  feed(plot, 0, 100, 160, [](double t) { return t; });
  plot.setTraceVisible(1, false);
  plot.clear();
  EXPECT_EQ(plot.sampleCount(0), 0);
  EXPECT_FALSE(plot.newestTime());
  EXPECT_EQ(pixelsIn(render(), TrendPlot::traceColor(0)), 0);
  EXPECT_DOUBLE_EQ(plot.valueAxis().low, -1);
  EXPECT_DOUBLE_EQ(plot.valueAxis().high, 1);

  // Time may start again from any origin after a clear.
  feed(plot, 1, 0, 10, [](double) { return 1; });
  EXPECT_EQ(pixelsIn(render(), TrendPlot::traceColor(1)), 0) << "still hidden";
  plot.setTraceCount(2);
  EXPECT_EQ(plot.sampleCount(1), 0);
  feed(plot, 1, 0, 10, [](double) { return 1; });
  EXPECT_GT(pixelsIn(render(), TrendPlot::traceColor(1)), 0) << "visible again";
}

// The rows across the plot's left edge that are not white: one per tick,
// the frame taking the top and bottom ones.
int gridRows(const QImage& image) {
  QRect inside = plotInside(image);
  int x = inside.left() + inside.width() / 40;
  int rows = 0;
  for (int y = inside.top() - 1; y <= inside.bottom() + 1; ++y)
    rows += image.pixel(x, y) != kWhite.rgb();
  return rows;
}

int tickCount(const TrendAxis& axis) {
  return static_cast<int>(std::lround((axis.high - axis.low) / axis.step)) + 1;
}

TEST_F(TrendPlotTest, GridFollowsTheValueAxisAndTheSize) {
  feed(plot, 0, 50, 60, [](double t) { return 0.13 + (t - 50) * 0.084; });
  EXPECT_EQ(gridRows(render()), 6);

  plot.addSample(0, 60.1, 15.32);
  plot.addSample(0, 60.2, -12.5);
  ASSERT_EQ(tickCount(plot.valueAxis()), 5);
  QImage image = render();
  EXPECT_EQ(gridRows(image), 5);
  QRect large = plotInside(image);

  plot.resize(400, 200);
  image = render();
  QRect small = plotInside(image);
  EXPECT_LT(small.right(), 400);
  EXPECT_LT(small.bottom(), 200);
  EXPECT_GT(small.width(), large.width() - 220);
  EXPECT_GT(small.height(), large.height() - 120);
  EXPECT_EQ(gridRows(image), 5);
}

TEST_F(TrendPlotTest, UnitIsShownWithTheValueAxis) {
  QImage without = render();
  plot.setUnit(QStringLiteral("mA"));
  QImage with = render();
  QRect labels(0, 0, plotInside(with).left() - 1, plotInside(with).top());
  EXPECT_NE(with.copy(labels), without.copy(labels));
}

// The unit, the value labels and the time labels.
std::vector<TrendText> textsOf(const TrendPlotLayout& layout) {
  std::vector<TrendText> texts{layout.unit};
  texts.insert(texts.end(), layout.valueLabels.begin(), layout.valueLabels.end());
  texts.insert(texts.end(), layout.timeLabels.begin(), layout.timeLabels.end());
  return texts;
}

std::string where(const TrendText& text) {
  const QRect& r = text.rect;
  return text.text.toStdString() + " at " + std::to_string(r.x()) + "," + std::to_string(r.y()) +
         " " + std::to_string(r.width()) + "x" + std::to_string(r.height());
}

// Pixels the text of the plot inked: its text is pure blue on grey, and
// nothing else the plot draws outside the traces is blue.
bool inked(QRgb pixel) { return qBlue(pixel) > qRed(pixel) + 40; }

TEST(TrendPlotLayout, EveryTextHasItsOwnPlaceAtAnyFontSize) {
  const QSize sizes[] = {{360, 180}, {600, 300}, {760, 400}};
  for (int pixels : {8, 11, 15, 20, 26}) {
    for (const QSize& size : sizes) {
      SCOPED_TRACE(std::to_string(pixels) + " px in " + std::to_string(size.width()) + "x" +
                   std::to_string(size.height()));
      TrendPlot plot;
      QFont font = plot.font();
      font.setPixelSize(pixels);
      plot.setFont(font);
      plot.setPalette(plotPalette(QColor(0, 0, 255)));
      plot.resize(size);
      plot.setUnit(QStringLiteral("mA"));
      plot.setLimits(-1250.0, 1532.0);

      const TrendPlotLayout layout = plot.textLayout();
      ASSERT_GE(layout.valueLabels.size(), 2u) << "both ends at the least";
      ASSERT_GE(layout.timeLabels.size(), 2u);
      const std::vector<TrendText> texts = textsOf(layout);
      EXPECT_FALSE(layout.unit.rect.intersects(layout.valueLabels.front().rect))
          << "the unit above the top value";
      for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(where(texts[i]));
        EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(texts[i].rect));
        EXPECT_FALSE(texts[i].rect.intersects(layout.plotArea));
        for (std::size_t j = 0; j < i; ++j)
          EXPECT_FALSE(texts[i].rect.intersects(texts[j].rect)) << "overlaps " << where(texts[j]);
      }

      // What is drawn is where the layout says.
      QImage image(size, QImage::Format_RGB32);
      plot.render(&image);
      for (const TrendText& text : texts) {
        int left = size.width();
        int right = -1;
        for (int y = text.rect.top(); y <= text.rect.bottom(); ++y)
          for (int x = text.rect.left(); x <= text.rect.right(); ++x)
            if (inked(image.pixel(x, y))) {
              left = std::min(left, x);
              right = std::max(right, x);
            }
        EXPECT_GT(right - left + 1, text.rect.width() / 2) << where(text) << " is not drawn there";
      }
      for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
          if (!inked(image.pixel(x, y))) continue;
          const bool placed = std::any_of(texts.begin(), texts.end(), [&](const TrendText& text) {
            return text.rect.adjusted(-1, -1, 1, 1).contains(x, y);
          });
          ASSERT_TRUE(placed) << "ink at " << x << "," << y << " outside every text";
        }
    }
  }
}

TEST(TrendPlotLayout, ValueTicksThinOutWhenTheirLabelsWouldTouch) {
  TrendPlot plot;
  QFont font = plot.font();
  font.setPixelSize(24);
  plot.setFont(font);
  plot.setLimits(0.0, 100.0);
  plot.resize(400, 400);
  EXPECT_EQ(plot.valueAxis().step, 20.0) << "six ticks where they fit";
  plot.resize(400, 180);
  EXPECT_GT(plot.valueAxis().step, 20.0);
  EXPECT_GE(plot.textLayout().valueLabels.size(), 3u);
}

TEST_F(TrendPlotTest, DarkThemeDrawsThePlotOnItsBaseWithTracesThatStandOut) {
  QPalette dark = plot.palette();
  dark.setColor(QPalette::Window, QColor(53, 53, 53));
  dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
  dark.setColor(QPalette::Base, QColor(36, 36, 36));
  dark.setColor(QPalette::Text, QColor(230, 230, 230));
  feed(plot, 0, 0, 60, [](double t) { return t; });
  plot.setLimits(10.0, 50.0);
  render();
  plot.setPalette(dark);
  QImage image = render();
  const QRect plotArea = plot.textLayout().plotArea;
  // Above the trace, which rises from the lower left to the upper right.
  const QPoint empty = plotArea.topLeft() + QPoint(plotArea.width() / 12, plotArea.height() / 12);
  EXPECT_EQ(image.pixel(empty), QColor(36, 36, 36).rgb());
  EXPECT_EQ(pixelsIn(image, kWhite), 0) << "no white plot left";
  EXPECT_GT(pixelsIn(image, TrendPlot::traceColor(0, dark)), 50);
  EXPECT_GT(pixelsIn(image, TrendPlot::limitColor(dark)), 50);
  EXPECT_NE(TrendPlot::traceColor(0, dark), TrendPlot::traceColor(0)) << "lightened on dark";
}

}  // namespace
}  // namespace orvane::admin
