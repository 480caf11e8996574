// The command Repeat Command sends (RepeatCommand, 16 characters) and how
// many times (RepeatCommandCount).
#pragma once

#include <QDialog>

class QLineEdit;

namespace orvane::admin {

class AdminContext;

class RepeatCmdForm : public QDialog {
  Q_OBJECT

 public:
  explicit RepeatCmdForm(AdminContext& context, QWidget* parent = nullptr);

  // Cancel, Escape and the close box: RepeatCommandCount becomes 0, so the
  // repeat that follows the dialog sends nothing.
  void reject() override;

 private slots:
  void onOKBtnClicked();

 private:
  AdminContext& context_;
  QLineEdit* repeatCmd_;
  QLineEdit* repeatTimes_;
};

}  // namespace orvane::admin
