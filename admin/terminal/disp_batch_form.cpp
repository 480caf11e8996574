#include "admin/terminal/disp_batch_form.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/terminal/batch_file.h"

namespace orvane::admin {

DispBatchForm::DispBatchForm(BatchFile& file, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("DispBatchForm"));
  setWindowTitle(QStringLiteral("Batch File Content"));

  QString content;
  for (const auto& line : file.readToEnd()) content += QString::fromStdString(line) + '\n';

  auto* text = new QPlainTextEdit(this);
  text->setObjectName(QStringLiteral("BatchContent"));
  text->setReadOnly(true);
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text->setPlainText(content);
  text->setMinimumSize(420, 260);
  auto* exit = new QPushButton(QStringLiteral("Exit"), this);
  exit->setObjectName(QStringLiteral("ExitBtn"));
  exit->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(exit);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addLayout(buttons);
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace orvane::admin
