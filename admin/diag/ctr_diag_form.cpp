#include "admin/diag/ctr_diag_form.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/core/admin_context.h"
#include "admin/core/theme_colours.h"
#include "admin/core/ui_naming.h"
#include "admin/diag/counter_reply.h"
#include "admin/diag/ctr_diag_decode.h"
#include "admin/diag/lamp.h"

namespace orvane::admin {

namespace {

QGroupBox* namedFrame(const QString& name, const QString& title, QWidget* parent) {
  auto* frame = new QGroupBox(title, parent);
  frame->setObjectName(name);
  return frame;
}

QPushButton* namedButton(const QString& name, int c, const QString& caption, QWidget* parent) {
  return admin::namedButton(indexedName(name, c), caption, parent);
}

}  // namespace

CtrDiagForm::CtrDiagForm(AdminContext& context, QWidget* parent)
    : DiagForm(context, QStringLiteral("CtrDiagForm"), QStringLiteral("Counter Module Diagnostic"),
               parent) {
  buildControls();
  load();
}

QGroupBox* CtrDiagForm::counterFrame(int c) {
  auto* frame =
      namedFrame(QStringLiteral("Frame%1").arg(c + 1), QStringLiteral("Counter %1").arg(c), this);
  Channel& ch = channels_[static_cast<std::size_t>(c)];
  ch.counter = namedLabel(indexedName(QStringLiteral("Counter"), c), QString(), frame);
  ch.counter->setMinimumWidth(90);
  ch.counter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* value = new QHBoxLayout;
  value->addWidget(new QLabel(QStringLiteral("Value (Dec):"), frame));
  value->addWidget(ch.counter, 1);

  auto* buttons = new QHBoxLayout;
  auto* start = namedButton(QStringLiteral("StartBtn"), c, QStringLiteral("Start"), frame);
  auto* stop = namedButton(QStringLiteral("StopBtn"), c, QStringLiteral("Stop"), frame);
  auto* clear = namedButton(QStringLiteral("ClearBtn"), c, QStringLiteral("Clear"), frame);
  connect(start, &QPushButton::clicked, this,
          [this, c] { runCommand(ctrRunBody(c, 1), QStringLiteral("Start Counter "), c); });
  connect(stop, &QPushButton::clicked, this,
          [this, c] { runCommand(ctrRunBody(c, 0), QStringLiteral("Stop Counter "), c); });
  connect(clear, &QPushButton::clicked, this,
          [this, c] { runCommand(ctrClearBody(c), QStringLiteral("Clear Counter "), c); });
  buttons->addWidget(start);
  buttons->addWidget(stop);
  buttons->addWidget(clear);

  auto* layout = new QVBoxLayout(frame);
  layout->addLayout(value);
  layout->addLayout(buttons);
  return frame;
}

QGroupBox* CtrDiagForm::alarmFrame(int c) {
  auto* frame =
      namedFrame(QStringLiteral("Frame%1").arg(c + 3), QStringLiteral("Alarm/DO%1").arg(c), this);
  Channel& ch = channels_[static_cast<std::size_t>(c)];
  ch.alarmSetting =
      namedLabel(indexedName(QStringLiteral("AlarmSetting"), c), QStringLiteral("Disable"), frame);
  ch.alarmValue = namedLabel(indexedName(QStringLiteral("AlarmValue"), c), QString(), frame);
  auto* form = new QFormLayout(frame);
  form->addRow(QStringLiteral("Setting:"), ch.alarmSetting);
  form->addRow(QStringLiteral("Value (Dec):"), ch.alarmValue);
  return frame;
}

QGroupBox* CtrDiagForm::outputFrame(int c) {
  auto* frame =
      namedFrame(QStringLiteral("Frame%1").arg(c + 5), QStringLiteral("DO%1").arg(c), this);
  Channel& ch = channels_[static_cast<std::size_t>(c)];
  ch.output = new Lamp(indexedName(QStringLiteral("DO_status"), c), true, frame);
  connect(ch.output, &Lamp::clicked, this, [this, c] { onOutputClick(c); });
  ch.alarmSign =
      namedLabel(indexedName(QStringLiteral("AlarmSign"), c), QStringLiteral("Alarm"), frame);
  setTextTone(*ch.alarmSign, TextTone::Alarm);
  ch.alarmSign->hide();
  auto* row = new QHBoxLayout(frame);
  row->addWidget(ch.output);
  row->addWidget(ch.alarmSign);
  row->addStretch();
  return frame;
}

void CtrDiagForm::buildControls() {
  auto* grid = new QGridLayout;
  for (int c = 0; c < 2; ++c) {
    grid->addWidget(counterFrame(c), 0, c);
    grid->addWidget(alarmFrame(c), 1, c);
    grid->addWidget(outputFrame(c), 2, c);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(identityRows(QStringLiteral("Label11")));
  layout->addLayout(grid);
  layout->addWidget(linkStatus_);
  layout->addWidget(exitButton_, 0, Qt::AlignHCenter);
}

void CtrDiagForm::load() {
  readFirmware();
  const ModuleEntry& e = entry();
  for (std::size_t c = 0; c < 2; ++c) {
    alarmEnabled_[c] = e.AlarmEnabled[c] != 0;
    channels_[c].alarmValue->setText(QString::number(static_cast<qulonglong>(e.AlarmLimit[c])));
  }
  const auto status = ctrStatus(exchange('@', "DI", context().ReplyTimeout), reply());
  if (!status) return;
  for (int c = 0; c < 2; ++c) {
    const auto n = static_cast<std::size_t>(c);
    alarmEnabled_[n] = status->alarmEnabled(c);
    channels_[n].alarmSetting->setText(alarmEnabled_[n] ? QStringLiteral("Enable")
                                                        : QStringLiteral("Disable"));
  }
}

LinkTask<void> CtrDiagForm::tick() {
  for (int c = 0; c < 2; ++c) {
    const bool ok = co_await exchangeAsync('#', counterReadBody(c), context().ReplyTimeout);
    if (const auto value = counterValue(ok, reply()))
      channels_[static_cast<std::size_t>(c)].counter->setText(QString::number(*value));
  }
  const bool ok = co_await exchangeAsync('@', "DI", context().ReplyTimeout);
  const auto status = ctrStatus(ok, reply());
  if (!status) co_return;
  outState_ = status->outputs;
  for (int c = 0; c < 2; ++c) {
    const Channel& ch = channels_[static_cast<std::size_t>(c)];
    ch.output->setLit(status->outputOn(c));
    ch.alarmSign->setVisible(status->onByAlarm(c));
  }
}

void CtrDiagForm::runCommand(const std::string& body, const QString& what, int c) {
  const bool ok = exchangeNow('$', body, context().ReplyTimeout);
  if (ctrCommandTaken(ok, reply())) return;
  context().ui().message(this, what + QString::number(c) + QStringLiteral("command failed."),
                         kErrorTitle);
}

void CtrDiagForm::onOutputClick(int c) {
  if (alarmEnabled_[static_cast<std::size_t>(c)]) return;
  // The reply is not evaluated: the lamp follows the module on the next tick.
  outState_ = ctrToggled(outState_, c);
  exchangeNow('@', ctrOutputBody(outState_), context().ReplyTimeout);
}

}  // namespace orvane::admin
