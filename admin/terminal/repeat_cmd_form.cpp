#include "admin/terminal/repeat_cmd_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "admin/core/admin_context.h"
#include "admin/core/spin_button.h"
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
  repeatTimes_->setObjectName(QStringLiteral("RepeatTimes"));
  auto* spin = new SpinButton(QStringLiteral("TimesSpin"), this);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKBtn"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CancelBtn"));

  auto* layout = new QGridLayout(this);
  layout->addWidget(namedLabel(QStringLiteral("Label1"), QStringLiteral("Command:"), this), 0, 0);
  layout->addWidget(repeatCmd_, 0, 1);
  layout->addWidget(namedLabel(QStringLiteral("Label2"), QStringLiteral("Repeat times:"), this), 1,
                    0);
  auto* field = new QHBoxLayout;
  field->setSpacing(0);
  field->addWidget(repeatTimes_);
  field->addWidget(spin);
  layout->addLayout(field, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons, 2, 0, 1, 2);

  repeatTimes_->setText(QString::number(context_.RepeatCommandCount));
  repeatCmd_->setText(QString::fromStdString(context_.RepeatCommand));
  repeatCmd_->setFocus();
  setUpRepeatTimes(context_, *repeatTimes_, *spin);
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
