#include "admin/diag/da_diag_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "admin/core/admin_context.h"
#include "admin/core/ui_naming.h"
#include "admin/diag/da_diag_commands.h"
#include "admin/diag/output_scroll_bar.h"
#include "admin/diag/scroll_binding.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::admin {

DaDiagForm::DaDiagForm(AdminContext& context, QWidget* parent)
    : DiagForm(context, QStringLiteral("DaDiagForm"), QStringLiteral("D/A Module Diagnostic"),
               parent) {
  setPollInterval(0);  // outputs only: nothing to poll
  buildControls();
  load();
}

void DaDiagForm::buildControls() {
  auto* frame = new QGroupBox(QStringLiteral("D/A"), this);
  frame->setObjectName(QStringLiteral("Frame1"));
  daScroll_ = outputScrollBar(QStringLiteral("DaScroll"), {0, kDaScrollMax, 320, 3200}, frame);
  lowRange_ = namedLabel(QStringLiteral("LowRange"), QString(), frame);
  highRange_ = namedLabel(QStringLiteral("HighRange"), QString(), frame);
  daData_ = namedLabel(QStringLiteral("DA_data"), QString(), frame);
  daData_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  for (std::size_t i = 0; i < dataFormat_.size(); ++i)
    dataFormat_[i] = namedLabel(indexedName(QStringLiteral("DataFormat"), static_cast<int>(i)),
                                QString(), frame);

  auto* grid = new QGridLayout(frame);
  grid->addWidget(lowRange_, 0, 0);
  grid->addWidget(daScroll_, 0, 1);
  grid->addWidget(highRange_, 0, 2);
  grid->addWidget(dataFormat_[0], 0, 3);
  auto* dataRow = new QHBoxLayout;
  dataRow->addStretch();
  dataRow->addWidget(namedLabel(QStringLiteral("Label3"), QStringLiteral("D/A data:"), frame));
  dataRow->addWidget(daData_);
  dataRow->addWidget(dataFormat_[1]);
  dataRow->addStretch();
  grid->addLayout(dataRow, 1, 0, 1, 4);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(identityRows(QStringLiteral("Label4")));
  layout->addWidget(frame);
  layout->addWidget(linkStatus_);
  layout->addWidget(exitButton_, 0, Qt::AlignHCenter);

  bindScrollBar(
      *daScroll_, [this](int position) { showPosition(position); },
      [this](int position) { settle(position); });
}

void DaDiagForm::load() {
  readFirmware();
  const ModuleEntry& e = entry();
  lowRange_->setText(userNumber(protocol::plainDecimal(daLowEnd(e.TypeCode))));
  highRange_->setText(userNumber(protocol::plainDecimal(protocol::fullScale(e.TypeCode))));
  const QString unit = QString::fromStdString(protocol::unitOf(e.TypeCode, e.DataFormat));
  for (QLabel* label : dataFormat_) label->setText(unit);
  // The bar starts at 0, the low end of the range, and so does the output,
  // whatever it was before.
  settle(daScroll_->value());
}

void DaDiagForm::showPosition(int position) {
  daData_->setText(QString::fromStdString(
      daShownValue(daOutputValue(entry().TypeCode, position), context().DecimalSeparator)));
}

void DaDiagForm::settle(int position) {
  showPosition(position);
  // The reply is not checked: a module that does not answer costs one reply
  // time-out and the window goes on.
  exchangeNow('#', daOutputBody(entry().TypeCode, entry().DataFormat, position),
              context().ReplyTimeout);
}

QString DaDiagForm::userNumber(const std::string& text) const {
  return QString::fromStdString(text).replace(QLatin1Char('.'),
                                              QLatin1Char(context().DecimalSeparator));
}

}  // namespace orvane::admin
