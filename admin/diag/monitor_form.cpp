#include "admin/diag/monitor_form.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/ui_naming.h"
#include "admin/diag/diag_form.h"
#include "admin/diag/diag_text.h"
#include "admin/diag/poll_timer.h"
#include "protocol/catalogue.h"

namespace orvane::admin {

namespace {

constexpr int kTwipsPerPixel = 15;

enum Column { kAddress, kModel, kData, kInput, kOutput, kRemark };

struct ColumnDesign {
  const char* heading;
  int widthTwips;
};

constexpr std::array<ColumnDesign, kMonitorColumns> kColumns{{
    {"Address", 1000},
    {"Model", 1200},
    {"AD/DA Data", 1400},
    {"DI/Counter", 1200},
    {"DO/Alarm", 1200},
    {"Remark", 1900},
}};

}  // namespace

MonitorForm::MonitorForm(AdminContext& context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      count_(std::clamp(context.ModuleCount, 0, kModuleListSize)) {
  setObjectName(QStringLiteral("MonitorForm"));
  setWindowTitle(QStringLiteral("Monitor"));
  buildControls();
  load();
}

void MonitorForm::buildControls() {
  grid_ = new QTableWidget(this);
  grid_->setObjectName(QStringLiteral("MonitorGrid"));
  grid_->setColumnCount(kMonitorColumns);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->verticalHeader()->hide();
  int width = 2 * grid_->frameWidth() + grid_->verticalScrollBar()->sizeHint().width();
  for (int c = 0; c < kMonitorColumns; ++c) {
    const ColumnDesign& column = kColumns[static_cast<std::size_t>(c)];
    grid_->setHorizontalHeaderItem(c, new QTableWidgetItem(QString::fromLatin1(column.heading)));
    grid_->setColumnWidth(c, column.widthTwips / kTwipsPerPixel);
    width += column.widthTwips / kTwipsPerPixel;
  }
  grid_->setMinimumWidth(width);

  linkStatus_ = linkStatusLabel(this);
  exitButton_ = exitButtonOf(*this);
  timer_ = new PollTimer(*this, context_.line(), [this] { return pollPass(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addWidget(linkStatus_);
  layout->addWidget(exitButton_, 0, Qt::AlignHCenter);
}

void MonitorForm::load() {
  rows_.assign(static_cast<std::size_t>(count_), MonitorRow{});
  grid_->setRowCount(monitorRowCount(count_) - 1);  // the headings are the header
  for (int r = 0; r < grid_->rowCount(); ++r)
    for (int c = 0; c < kMonitorColumns; ++c) grid_->setItem(r, c, new QTableWidgetItem);
  for (int i = 0; i < count_; ++i) {
    const ModuleEntry& e = context_.ModuleList[static_cast<std::size_t>(i)];
    grid_->item(i, kAddress)->setText(addressCaption(e.Address));
    grid_->item(i, kModel)->setText(monitorModel(e.ModelName));
    grid_->item(i, kRemark)->setText(monitorRemark(e.TypeCode));
  }
  timer_->setInterval(monitorInterval(count_), true);
}

void MonitorForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  timer_->start();
}

void MonitorForm::done(int result) {
  timer_->stop();
  QDialog::done(result);
}

bool MonitorForm::polling() const { return timer_->active(); }

int MonitorForm::pollInterval() const { return timer_->interval(); }

void MonitorForm::pollOnce() { RunSequence(pollPass()); }

LinkTask<void> MonitorForm::pollPass() {
  linkError_.clear();
  for (int i = 0; i < count_; ++i) co_await pollEntry(i);
  linkStatus_->setText(QString::fromLocal8Bit(linkError_.c_str()));
}

LinkTask<void> MonitorForm::pollEntry(int i) {
  const ModuleEntry& e = context_.ModuleList[static_cast<std::size_t>(i)];
  MonitorRow& row = rows_[static_cast<std::size_t>(i)];
  const MonitorPoll poll = monitorPoll(e.ModelName);
  if (poll == MonitorPoll::Nothing) co_return;
  if (poll == MonitorPoll::AnalogInput || poll == MonitorPoll::MultiFunction) {
    const std::string value = co_await ReadAnalogValueAsync(context_, i, 0);
    noteLinkError();
    analogInputData(row, value, protocol::unitOf(e.TypeCode, e.DataFormat),
                    context_.DecimalSeparator);
  }
  switch (poll) {
    case MonitorPoll::Digital: {
      const bool ok = co_await exchange(i, '$', "6");
      digitalColumns(row, protocol::familyKey(e.ModelName), ok, reply());
      break;
    }
    case MonitorPoll::MultiFunction:
      co_await pollMultiFunction(i);
      break;
    case MonitorPoll::AnalogOutput:
      co_await pollAnalogOutput(i);
      break;
    case MonitorPoll::CounterChannel:
      co_await pollCounter(i);
      break;
    case MonitorPoll::AnalogInput:
    case MonitorPoll::Nothing:
      break;
  }
  showRow(i);
}

LinkTask<void> MonitorForm::pollMultiFunction(int i) {
  const bool statusOK = co_await exchange(i, '@', "DI");
  const std::string status = reply();
  const bool countOK = co_await exchange(i, '@', "RE");
  multiFunctionColumns(rows_[static_cast<std::size_t>(i)], statusOK, status, countOK, reply());
}

LinkTask<void> MonitorForm::pollAnalogOutput(int i) {
  const ModuleEntry& e = context_.ModuleList[static_cast<std::size_t>(i)];
  MonitorRow& row = rows_[static_cast<std::size_t>(i)];
  const std::string key = protocol::familyKey(e.ModelName);
  const bool ok = co_await exchange(i, '$', outputReadBackBody(key));
  outputReadBackData(row, e.TypeCode, e.DataFormat, ok, reply(), context_.DecimalSeparator);
  if (key != "347") co_return;
  const bool inputsOK = co_await exchange(i, '$', "8");
  quadInputColumn(row, inputsOK, reply());
}

LinkTask<void> MonitorForm::pollCounter(int i) {
  MonitorRow& row = rows_[static_cast<std::size_t>(i)];
  const bool valueOK = co_await exchange(i, '#', "0D");
  counterValueColumn(row, valueOK, reply());
  const bool statusOK = co_await exchange(i, '@', "DI");
  counterOutputColumn(row, statusOK, reply());
}

LinkTask<bool> MonitorForm::exchange(int i, char lead, std::string body) {
  context_.LastCommand = addressedCommand(lead, effectiveAddress(context_, i), body);
  co_await ExchangeCommandAsync(context_, i, 0, context_.ReplyTimeout);
  noteLinkError();
  co_return context_.LastExchangeOK;
}

void MonitorForm::noteLinkError() {
  // The first failure of the line names the cause; the exchanges after it
  // fail for the same one (the adapter is still out).
  if (linkError_.empty()) linkError_ = context_.LastLinkError;
}

const std::string& MonitorForm::reply() const { return context_.LastReply; }

void MonitorForm::showRow(int i) {
  const MonitorRow& row = rows_[static_cast<std::size_t>(i)];
  grid_->item(i, kData)->setText(row.data);
  grid_->item(i, kInput)->setText(row.input);
  grid_->item(i, kOutput)->setText(row.output);
}

}  // namespace orvane::admin
