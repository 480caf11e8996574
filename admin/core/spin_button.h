// A spin button beside a text box: two small arrows that only report the
// click; the window decides what up and down do to the text.
#pragma once

#include <QWidget>

class QToolButton;

namespace orvane::admin {

class SpinButton : public QWidget {
  Q_OBJECT

 public:
  explicit SpinButton(const QString& name, QWidget* parent = nullptr);

  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 signals:
  void spinUp();
  void spinDown();

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace orvane::admin
