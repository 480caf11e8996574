#include "admin/terminal/terminal_display.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <QPainter>
#include <algorithm>

#include "admin/terminal/display_ring.h"

namespace orvane::admin {

namespace {

// Margins of the design: 90 twips from the left, 30 from the top.
constexpr int kLeftMargin = 6;
constexpr int kTopMargin = 2;
constexpr int kMinimumPitch = 16;  // 240 twips
constexpr int kColumns = 64;
const QString kPrompt = QStringLiteral(">");
constexpr int kEditMargin = 2;

}  // namespace

TerminalDisplay::TerminalDisplay(QWidget* parent) : QWidget(parent), cmdText_(new QLineEdit(this)) {
  setObjectName(QStringLiteral("Terminal"));
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
  cmdText_->setObjectName(QStringLiteral("CmdText"));
  cmdText_->setFrame(false);
  cmdText_->setTextMargins(0, 0, 0, 0);
  cmdText_->setFont(font());
  cmdText_->setFixedHeight(linePitch());
  const QFontMetrics metrics(font());
  setMinimumSize(kLeftMargin * 2 + metrics.horizontalAdvance(QLatin1Char('M')) * kColumns,
                 rowTop(DisplayRing::kShownLines + 1) + kTopMargin);
  placeEntry();
}

int TerminalDisplay::linePitch() const {
  return std::max(kMinimumPitch, QFontMetrics(font()).height() + 6);
}

int TerminalDisplay::rowTop(int row) const { return kTopMargin + row * linePitch(); }

void TerminalDisplay::showLines(const std::vector<std::string>& lines, int entryRow) {
  lines_ = lines;
  entryRow_ = entryRow;
  placeEntry();
  update();
}

void TerminalDisplay::placeEntry() {
  // The entry's text follows the prompt as the printed commands do; the line
  // edit keeps a margin of its own inside.
  const int left = kLeftMargin + QFontMetrics(font()).horizontalAdvance(kPrompt) - kEditMargin;
  cmdText_->setGeometry(left, rowTop(entryRow_), std::max(1, width() - left - kLeftMargin),
                        linePitch());
}

void TerminalDisplay::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  placeEntry();
}

void TerminalDisplay::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  const QFontMetrics metrics(font());
  // Text sits on the same baseline as the entry's text.
  const int baseline = (linePitch() - metrics.height()) / 2 + metrics.ascent();
  for (std::size_t row = 0; row < lines_.size(); ++row)
    painter.drawText(
        kLeftMargin, rowTop(static_cast<int>(row)) + baseline,
        QString::fromLatin1(lines_[row].data(), static_cast<qsizetype>(lines_[row].size())));
  painter.drawText(kLeftMargin, rowTop(entryRow_) + baseline, kPrompt);
}

}  // namespace orvane::admin
