#include "admin/terminal/repeat_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "admin/core/admin_context.h"
#include "admin/core/spin_button.h"
#include "admin/terminal/repeat_times.h"

namespace orvane::admin {

RepeatForm::RepeatForm(AdminContext& context, QWidget* parent)
    : QDialog(parent), context_(context), repeatTimes_(new QLineEdit(this)) {
  setObjectName(QStringLiteral("RepeatForm"));
  setWindowTitle(QStringLiteral("Repeat"));

  auto* label = new QLabel(QStringLiteral("Repeat times:"), this);
  label->setObjectName(QStringLiteral("Label2"));
  repeatTimes_->setObjectName(QStringLiteral("RepeatTimes"));
  auto* spin = new SpinButton(QStringLiteral("TimesSpin"), this);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKBtn"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CancelBtn"));

  auto* layout = new QGridLayout(this);
  layout->addWidget(label, 0, 0);
  auto* field = new QHBoxLayout;
  field->setSpacing(0);
  field->addWidget(repeatTimes_);
  field->addWidget(spin);
  layout->addLayout(field, 0, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons, 1, 0, 1, 2);

  repeatTimes_->setText(QString::number(context_.BatchRepeatCount));
  repeatTimes_->selectAll();
  repeatTimes_->setFocus();
  setUpRepeatTimes(context_, *repeatTimes_, *spin);
  connect(ok, &QPushButton::clicked, this, &RepeatForm::onOKBtnClicked);
  // Cancel leaves BatchRepeatCount as it was.
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void RepeatForm::onOKBtnClicked() {
  const auto times = acceptedRepeatTimes(context_, this, *repeatTimes_);
  if (!times) return;
  context_.BatchRepeatCount = *times;
  accept();
}

}  // namespace orvane::admin
