// The text view of the Line Monitor: up to a fixed number of lines, the
// newest last, drawn line by line as they scroll into sight. Only the lines
// on screen cost anything: a line is neither laid out nor shaped before it
// is shown, and the printable ASCII of the trace is drawn straight from the
// font's glyphs. A view at its end follows the new lines; a user who
// scrolled back to read keeps his place.
#pragma once

#include <QAbstractScrollArea>
#include <QRawFont>
#include <QVector>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace orvane::admin {

class TraceView : public QAbstractScrollArea {
 public:
  TraceView(std::size_t capacity, QWidget* parent);

  void append(const std::vector<std::string>& lines);
  void setLines(const std::vector<std::string>& lines);
  void clear() { setLines({}); }
  std::size_t lineCount() const { return lines_.size(); }
  // The lines joined by line feeds.
  QString text() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void takeFont();
  void updateScrollBars();
  bool atEnd() const;
  int lineHeight() const;
  void drawLine(QPainter& painter, const std::string& line, QPointF baseline);

  std::size_t capacity_;
  std::deque<std::string> lines_;
  std::size_t longest_ = 0;
  // The glyphs and advances of the printable ASCII characters (0x20..0x7E);
  // empty when the font cannot give them, and every line is drawn as text.
  QRawFont raw_;
  QVector<quint32> glyphs_;
  QVector<QPointF> advances_;
  qreal widest_ = 8;
};

}  // namespace orvane::admin
