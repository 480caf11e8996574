// A lamp: a round light that is lit or not, drawn by itself. An output lamp
// is clickable with the mouse, and with Space or Enter once it has the focus.
#pragma once

#include <QWidget>

namespace orvane::admin {

class Lamp : public QWidget {
  Q_OBJECT

 public:
  Lamp(const QString& name, bool clickable, QWidget* parent = nullptr);

  bool lit() const { return lit_; }
  void setLit(bool lit);

  QSize sizeHint() const override { return {18, 18}; }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool clickable_;
  bool lit_ = false;
};

}  // namespace orvane::admin
