#include "admin/core/exit_form.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/core/startup.h"

namespace orvane::admin {

ExitForm::ExitForm(AdminContext& context, std::vector<std::string> rows, QWidget* parent)
    : QDialog(parent), context_(context), rows_(std::move(rows)) {
  setObjectName(QStringLiteral("ExitForm"));
  setWindowTitle(QStringLiteral("Exit"));
  auto* question = new QLabel(
      QStringLiteral("Do you really want to exit ") + QStringLiteral(" Administration utility?"),
      this);
  question->setObjectName(QStringLiteral("Label1"));
  auto* yes = new QPushButton(QStringLiteral("Yes"), this);
  yes->setObjectName(QStringLiteral("YesBtn"));
  yes->setDefault(true);
  auto* no = new QPushButton(QStringLiteral("No"), this);
  no->setObjectName(QStringLiteral("NoBtn"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(yes);
  buttons->addWidget(no);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(question);
  layout->addLayout(buttons);
  yes->setFocus();
  connect(yes, &QPushButton::clicked, this, &ExitForm::onYesBtnClicked);
  connect(no, &QPushButton::clicked, this, &QDialog::reject);
}

void ExitForm::onYesBtnClicked() {
  writeExitFiles(context_, rows_);
  accept();
}

}  // namespace orvane::admin
