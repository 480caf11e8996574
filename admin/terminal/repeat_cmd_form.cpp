#include "admin/terminal/repeat_cmd_form.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include "admin/core/admin_context.h"
#include "admin/core/ui_naming.h"
#include "admin/terminal/repeat_times.h"

namespace orvane::admin {

RepeatCmdForm::RepeatCmdForm(AdminContext& context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      repeatCmd_(new QLineEdit(this)),
      repeatTimes_(new QLineEdit(this)) {
  setObjectName(QStringLiteral("RepeatCmdForm"));
  setWindowTitle(QStringLiteral("Repeat"));

  repeatCmd_->setObjectName(QStringLiteral("RepeatCmd"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(namedLabel(QStringLiteral("Label1"), QStringLiteral("Command:"), this), 0, 0);
  layout->addWidget(repeatCmd_, 0, 1);
  const auto [ok, cancel] = addRepeatTimesRows(context_, *layout, 1, *repeatTimes_, this);

  repeatTimes_->setText(QString::number(context_.RepeatCommandCount));
  repeatCmd_->setText(QString::fromStdString(context_.RepeatCommand));
  repeatCmd_->setFocus();
  connect(ok, &QPushButton::clicked, this, &RepeatCmdForm::onOKBtnClicked);
  connect(cancel, &QPushButton::clicked, this, &RepeatCmdForm::reject);
}

void RepeatCmdForm::onOKBtnClicked() {
  const auto times = acceptedRepeatTimes(context_, this, *repeatTimes_);
  if (!times) return;
  context_.RepeatCommand = repeatCommandField(repeatCmd_->text());
  context_.RepeatCommandCount = *times;
  accept();
}

void RepeatCmdForm::reject() {
  context_.RepeatCommandCount = 0;
  QDialog::reject();
}

}  // namespace orvane::admin
