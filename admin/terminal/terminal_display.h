// The terminal's display area ("Terminal"): the shown command and reply
// lines, and the command entry ("CmdText") on the row after them, behind its
// ">" prompt. Twelve lines and the entry line fit in it.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QLineEdit;

namespace orvane::admin {

class TerminalDisplay : public QWidget {
  Q_OBJECT

 public:
  explicit TerminalDisplay(QWidget* parent = nullptr);

  QLineEdit* cmdText() const { return cmdText_; }
  // Shows the lines from the top and moves the entry line to the row given.
  void showLines(const std::vector<std::string>& lines, int entryRow);
  const std::vector<std::string>& lines() const { return lines_; }
  int entryRow() const { return entryRow_; }
  // Height of one display line in pixels.
  int linePitch() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int rowTop(int row) const;
  void placeEntry();

  QLineEdit* cmdText_;
  std::vector<std::string> lines_;
  int entryRow_ = 0;
};

}  // namespace orvane::admin
