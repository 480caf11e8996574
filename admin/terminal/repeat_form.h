// How many passes a batch Run makes (BatchRepeatCount).
#pragma once

#include <QDialog>

class QLineEdit;

namespace orvane::admin {

class AdminContext;

class RepeatForm : public QDialog {
  Q_OBJECT

 public:
  explicit RepeatForm(AdminContext& context, QWidget* parent = nullptr);

 private slots:
  void onOKBtnClicked();

 private:
  AdminContext& context_;
  QLineEdit* repeatTimes_;
};

}  // namespace orvane::admin
