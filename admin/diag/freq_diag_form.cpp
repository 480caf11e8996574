#include "admin/diag/freq_diag_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/core/admin_context.h"
#include "admin/core/ui_naming.h"
#include "admin/diag/counter_reply.h"

namespace orvane::admin {

FreqDiagForm::FreqDiagForm(AdminContext& context, QWidget* parent)
    : DiagForm(context, QStringLiteral("FreqDiagForm"),
               QStringLiteral("Frequency Module Diagnostic"), parent) {
  buildControls();
  readFirmware();
}

void FreqDiagForm::buildControls() {
  auto* values = new QGroupBox(QStringLiteral("Counter/Frequency values"), this);
  values->setObjectName(QStringLiteral("Frame1"));
  auto* grid = new QGridLayout(values);
  const QString labelNames[] = {QStringLiteral("Label8"), QStringLiteral("Label3")};
  for (int c = 0; c < 2; ++c) {
    const auto n = static_cast<std::size_t>(c);
    counter_[n] = namedLabel(indexedName(QStringLiteral("Counter"), c), QString(), values);
    counter_[n]->setMinimumWidth(90);
    counter_[n]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(namedLabel(labelNames[n], QStringLiteral("Counter %1 (Dec):").arg(c), values),
                    c, 0);
    grid->addWidget(counter_[n], c, 1);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(identityRows(QStringLiteral("Label11")));
  layout->addWidget(values);
  layout->addWidget(linkStatus_);
  layout->addWidget(exitButton_, 0, Qt::AlignHCenter);
}

LinkTask<void> FreqDiagForm::tick() {
  for (int c = 0; c < 2; ++c) {
    const bool ok = co_await exchangeAsync('#', counterReadBody(c), context().ReplyTimeout);
    if (const auto value = counterValue(ok, reply()))
      counter_[static_cast<std::size_t>(c)]->setText(QString::number(*value));
  }
}

}  // namespace orvane::admin
