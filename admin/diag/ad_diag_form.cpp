#include "admin/diag/ad_diag_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/reply_fields.h"
#include "admin/core/theme_colours.h"
#include "admin/core/ui_naming.h"
#include "admin/diag/reading_text.h"
#include "admin/diag/trend_csv.h"
#include "admin/diag/trend_plot.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::admin {

AdDiagForm::AdDiagForm(AdminContext& context, QWidget* parent)
    : DiagForm(context, QStringLiteral("AdDiagForm"), QStringLiteral("A/D Module Diagnostic"),
               parent) {
  buildControls();
  load();
}

void AdDiagForm::buildControls() {
  openStatusLabel_ = namedLabel(QStringLiteral("Label4"), QStringLiteral("Open status:"), this);
  openStatus_ = namedLabel(QStringLiteral("OpenStatus"), QString(), this);
  auto* openRow = new QHBoxLayout;
  openRow->addWidget(openStatusLabel_);
  openRow->addWidget(openStatus_);
  openRow->addStretch();

  auto* readings = new QGroupBox(QStringLiteral("A/D readings"), this);
  readings->setObjectName(QStringLiteral("Frame1"));
  auto* grid = new QGridLayout(readings);
  for (int i = 0; i < 8; ++i) {
    const auto n = static_cast<std::size_t>(i);
    channelName_[n] = namedLabel(indexedName(QStringLiteral("Label3"), i),
                                 QStringLiteral("Channel %1:").arg(i), readings);
    reading_[n] = namedLabel(indexedName(QStringLiteral("Reading"), i), QString(), readings);
    reading_[n]->setMinimumWidth(90);
    reading_[n]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    formatText_[n] = namedLabel(indexedName(QStringLiteral("FormatText"), i), QString(), readings);
    grid->addWidget(traceSwatch(i, readings), i, 0);
    grid->addWidget(channelName_[n], i, 1);
    grid->addWidget(reading_[n], i, 2);
    grid->addWidget(formatText_[n], i, 3);
  }
  trend_ = new TrendPlot(this);
  trend_->setObjectName(QStringLiteral("Trend"));

  auto* left = new QVBoxLayout;
  left->addWidget(identityRows(QStringLiteral("Label11")));
  left->addLayout(openRow);
  left->addWidget(readings);
  left->addWidget(linkStatus_);
  left->addStretch();
  QPushButton* save = saveButtonOf(*this);
  connect(save, &QPushButton::clicked, this, &AdDiagForm::onSaveBtnClicked);
  left->addLayout(buttonRow({save, exitButton_}));
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addWidget(trend_, 1);
}

void AdDiagForm::load() {
  const ModuleEntry& e = entry();
  channelCount_ = protocol::channelCount(e.ModelName);
  ReadChannelMask(context(), entryIndex(), enabled_);
  trend_->setTraceCount(channelCount_);
  trend_->setUnit(QString::fromStdString(protocol::unitOf(e.TypeCode, e.DataFormat)));
  for (int i = 0; i < 8; ++i) {
    const auto n = static_cast<std::size_t>(i);
    if (i >= channelCount_) {
      setTextTone(*channelName_[n], TextTone::Grey);
    } else if (!enabled_[n]) {
      setTextTone(*reading_[n], TextTone::Grey);
      reading_[n]->setText(QStringLiteral("Disabled"));
      trend_->setTraceVisible(i, false);
    }
  }
  readFirmware();
  const bool openInputs = protocol::familyKey(e.ModelName) == "234";
  openStatusLabel_->setVisible(openInputs);
  openStatus_->setVisible(openInputs);
}

LinkTask<void> AdDiagForm::tick() {
  const ModuleEntry& e = entry();
  const QString unit = QString::fromStdString(protocol::unitOf(e.TypeCode, e.DataFormat));
  const double now = trendSecondsNow();
  for (int i = 0; i < channelCount_; ++i) {
    const auto n = static_cast<std::size_t>(i);
    if (!enabled_[n]) continue;
    setTextTone(*reading_[n], TextTone::Alarm);
    const std::string value = co_await readAnalogValueAsync(i);
    reading_[n]->setText(shownReading(value, context().DecimalSeparator));
    formatText_[n]->setText(unit);
    trend_->addSample(i, now, readingValue(value));
  }
  if (protocol::familyKey(e.ModelName) != "234") co_return;
  const bool ok = co_await exchangeAsync('$', "BA", context().ReplyTimeout);
  if (replyValid(ok, reply(), '!'))
    openStatus_->setText(QString::fromStdString(replyText(reply(), 3, 2)));
}

// One column per channel the window polls.
void AdDiagForm::onSaveBtnClicked() {
  const ModuleEntry& e = entry();
  const QString unit = QString::fromStdString(protocol::unitOf(e.TypeCode, e.DataFormat));
  std::vector<TrendColumn> columns;
  for (int i = 0; i < channelCount_; ++i)
    if (enabled_[static_cast<std::size_t>(i)])
      columns.push_back({i, columnHeading(QStringLiteral("Channel %1").arg(i), unit)});
  saveReadings(trendCsv(*trend_, columns, TrendClock::now()));
}

}  // namespace orvane::admin
