// The About box.
#pragma once

#include <QDialog>

namespace orvane::admin {

class AboutForm : public QDialog {
  Q_OBJECT

 public:
  explicit AboutForm(QWidget* parent = nullptr);
};

}  // namespace orvane::admin
