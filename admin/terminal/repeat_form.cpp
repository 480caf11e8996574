#include "admin/terminal/repeat_form.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include "admin/core/admin_context.h"
#include "admin/terminal/repeat_times.h"

namespace orvane::admin {

RepeatForm::RepeatForm(AdminContext& context, QWidget* parent)
    : QDialog(parent), context_(context), repeatTimes_(new QLineEdit(this)) {
  setObjectName(QStringLiteral("RepeatForm"));
  setWindowTitle(QStringLiteral("Repeat"));

  auto* layout = new QGridLayout(this);
  const auto [ok, cancel] = addRepeatTimesRows(context_, *layout, 0, *repeatTimes_, this);

  repeatTimes_->setText(QString::number(context_.BatchRepeatCount));
  repeatTimes_->selectAll();
  repeatTimes_->setFocus();
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
