#include "admin/diag/multi_diag_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/ui_naming.h"
#include "admin/diag/lamp.h"
#include "admin/diag/multi_diag_decode.h"
#include "admin/diag/reading_text.h"
#include "admin/diag/trend_csv.h"
#include "admin/diag/trend_plot.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::admin {

MultiDiagForm::MultiDiagForm(AdminContext& context, QWidget* parent)
    : DiagForm(context, QStringLiteral("MultiDiagForm"), QStringLiteral("A/D Module Diagnostic"),
               parent) {
  buildControls();
  load();
}

QLayout* MultiDiagForm::readingRows() {
  reading_ = namedLabel(QStringLiteral("Reading"), QString(), this);
  reading_->setMinimumWidth(90);
  reading_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  formatText_ = namedLabel(QStringLiteral("FormatText"), QString(), this);
  alarmSetting_ = namedLabel(QStringLiteral("AlarmSetting"), QString(), this);
  highAlarm_ = namedLabel(QStringLiteral("HighAlarm"), QString(), this);
  lowAlarm_ = namedLabel(QStringLiteral("LowAlarm"), QString(), this);
  for (int i = 0; i < 2; ++i)
    alarmFormat_[static_cast<std::size_t>(i)] =
        namedLabel(indexedName(QStringLiteral("AlarmFormat"), i), QString(), this);
  for (QLabel* value : {highAlarm_, lowAlarm_}) value->setAlignment(Qt::AlignRight);

  auto* grid = new QGridLayout;
  QLabel* swatch = traceSwatch(0, this);
  swatch->setObjectName(QStringLiteral("TraceColour"));
  grid->addWidget(swatch, 0, 0);
  grid->addWidget(namedLabel(QStringLiteral("Label9"), QStringLiteral("Reading:"), this), 0, 1);
  grid->addWidget(reading_, 0, 2);
  grid->addWidget(formatText_, 0, 3);
  grid->addWidget(namedLabel(QStringLiteral("Label6"), QStringLiteral("Alarm setting:"), this), 1,
                  1);
  grid->addWidget(alarmSetting_, 1, 2);
  grid->addWidget(namedLabel(QStringLiteral("Label7"), QStringLiteral("High alarm:"), this), 2, 1);
  grid->addWidget(highAlarm_, 2, 2);
  grid->addWidget(alarmFormat_[0], 2, 3);
  grid->addWidget(namedLabel(QStringLiteral("Label10"), QStringLiteral("Low alarm:"), this), 3, 1);
  grid->addWidget(lowAlarm_, 3, 2);
  grid->addWidget(alarmFormat_[1], 3, 3);
  grid->setColumnStretch(4, 1);
  return grid;
}

QWidget* MultiDiagForm::inputFrame() {
  auto* frame = new QGroupBox(QStringLiteral("DI/Counter"), this);
  frame->setObjectName(QStringLiteral("Frame1"));
  di_ = namedLabel(QStringLiteral("DI"), QString(), frame);
  counter_ = namedLabel(QStringLiteral("Counter"), QString(), frame);
  auto* grid = new QGridLayout(frame);
  grid->addWidget(namedLabel(QStringLiteral("Label3"), QStringLiteral("DI:"), frame), 0, 0);
  grid->addWidget(di_, 0, 1);
  grid->addWidget(namedLabel(QStringLiteral("Label8"), QStringLiteral("Counter:"), frame), 1, 0);
  grid->addWidget(counter_, 1, 1);
  grid->setColumnStretch(1, 1);
  return frame;
}

// Output 0 is the low alarm's and output 1 the high alarm's while an alarm
// mode is on.
QWidget* MultiDiagForm::outputFrame() {
  auto* frame = new QGroupBox(QStringLiteral("DO"), this);
  frame->setObjectName(QStringLiteral("Frame2"));
  lowAlarmSign_ = namedLabel(QStringLiteral("LowAlarmSign"), QStringLiteral("Low Alarm"), frame);
  highAlarmSign_ = namedLabel(QStringLiteral("HighAlarmSign"), QStringLiteral("High Alarm"), frame);
  auto* grid = new QGridLayout(frame);
  for (int i = 0; i < 2; ++i) {
    auto* lamp = new Lamp(indexedName(QStringLiteral("DO_status"), i), true, frame);
    doStatus_[static_cast<std::size_t>(i)] = lamp;
    connect(lamp, &Lamp::clicked, this, [this, i] { onDoStatusClick(i); });
    grid->addWidget(lamp, i, 0);
    grid->addWidget(i == 0 ? lowAlarmSign_ : highAlarmSign_, i, 1);
  }
  grid->setColumnStretch(1, 1);
  return frame;
}

void MultiDiagForm::buildControls() {
  auto* clearCounter = namedButton(QStringLiteral("ClearEventCounterBtn"),
                                   QStringLiteral("Clear Event Counter"), this);
  auto* clearLatch =
      namedButton(QStringLiteral("ClearLatchAlarmBtn"), QStringLiteral("Clear Latch Alarm"), this);
  connect(clearCounter, &QPushButton::clicked, this, &MultiDiagForm::onClearEventCounterBtnClicked);
  connect(clearLatch, &QPushButton::clicked, this, &MultiDiagForm::onClearLatchAlarmBtnClicked);
  auto* frames = new QHBoxLayout;
  frames->addWidget(inputFrame());
  frames->addWidget(outputFrame());
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(clearCounter);
  buttons->addWidget(clearLatch);
  trend_ = new TrendPlot(this);
  trend_->setObjectName(QStringLiteral("Trend"));
  trend_->setTraceCount(1);

  auto* left = new QVBoxLayout;
  left->addWidget(identityRows(QStringLiteral("Label11")));
  left->addLayout(readingRows());
  left->addLayout(frames);
  left->addLayout(buttons);
  left->addWidget(linkStatus_);
  left->addStretch();
  QPushButton* save = saveButtonOf(*this);
  connect(save, &QPushButton::clicked, this, &MultiDiagForm::onSaveBtnClicked);
  left->addLayout(buttonRow({save, exitButton_}));
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addWidget(trend_, 1);
}

void MultiDiagForm::load() {
  readFirmware();
  ModuleEntry& e = entry();
  if (const auto status = multiStatus(exchange('@', "DI", context().ReplyTimeout), reply()))
    e.AlarmMode = status->alarmMode;
  showAlarmSetting();
  trend_->setUnit(QString::fromStdString(protocol::unitOf(e.TypeCode, e.DataFormat)));
}

void MultiDiagForm::showAlarmSetting() {
  const ModuleEntry& e = entry();
  const bool alarmOn = e.AlarmMode != 0;
  lowAlarmSign_->setVisible(alarmOn);
  highAlarmSign_->setVisible(alarmOn);
  alarmSetting_->setText(
      QString::fromStdString(std::string(protocol::trimmed(protocol::alarmModeName(e.AlarmMode)))));
  const char separator = context().DecimalSeparator;
  highAlarm_->setText(QString::fromStdString(alarmLimitText(e.AlarmHigh, separator)));
  lowAlarm_->setText(QString::fromStdString(alarmLimitText(e.AlarmLow, separator)));
  const QString unit = QString::fromStdString(protocol::unitOf(e.TypeCode, e.DataFormat));
  for (QLabel* format : alarmFormat_) format->setText(unit);
  if (alarmOn)
    trend_->setLimits(e.AlarmLow, e.AlarmHigh);
  else
    trend_->setLimits(std::nullopt, std::nullopt);
}

LinkTask<void> MultiDiagForm::tick() {
  const bool statusOK = co_await exchangeAsync('@', "DI", context().ReplyTimeout);
  if (const auto status = multiStatus(statusOK, reply())) {
    outState_ = status->outState;
    for (int i = 0; i < 2; ++i)
      doStatus_[static_cast<std::size_t>(i)]->setLit(multiOutputLit(outState_, i));
    di_->setText(QString(QLatin1Char(status->digitalInput)));
  }
  const bool countOK = co_await exchangeAsync('@', "RE", context().ReplyTimeout);
  if (const auto count = multiEventCount(countOK, reply()))
    counter_->setText(QString::number(*count));
  const ModuleEntry& e = entry();
  const std::string value = co_await readAnalogValueAsync(0);
  reading_->setText(shownReading(value, context().DecimalSeparator));
  formatText_->setText(QString::fromStdString(protocol::unitOf(e.TypeCode, e.DataFormat)));
  trend_->addSample(0, trendSecondsNow(), readingValue(value));
}

// While an alarm mode is on the outputs belong to the alarms. The reply is
// not read: the lamps follow the module on the next tick.
void MultiDiagForm::onDoStatusClick(int output) {
  if (entry().AlarmMode != 0) return;
  outState_ = multiToggled(outState_, output);
  exchangeNow('@', multiOutputBody(outState_), context().ReplyTimeout);
}

void MultiDiagForm::onClearEventCounterBtnClicked() {
  exchangeNow('@', "CE", context().ReplyTimeout);
}

void MultiDiagForm::onClearLatchAlarmBtnClicked() {
  exchangeNow('@', "CA", context().ReplyTimeout);
}

void MultiDiagForm::onSaveBtnClicked() {
  const ModuleEntry& e = entry();
  const QString unit = QString::fromStdString(protocol::unitOf(e.TypeCode, e.DataFormat));
  saveReadings(
      trendCsv(*trend_, {{0, columnHeading(QStringLiteral("Reading"), unit)}}, TrendClock::now()));
}

}  // namespace orvane::admin
