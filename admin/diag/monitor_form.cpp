#include "admin/diag/monitor_form.h"

#include <QDateTime>
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
#include "admin/core/local_file_path.h"
#include "admin/core/ui_naming.h"
#include "admin/diag/csv_text.h"
#include "admin/diag/diag_form.h"
#include "admin/diag/diag_text.h"
#include "admin/diag/monitor_record.h"
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
  recordButton_ = new QPushButton(QStringLiteral("Record…"), this);
  recordButton_->setObjectName(QStringLiteral("RecordBtn"));
  recordButton_->setAutoDefault(false);
  connect(recordButton_, &QPushButton::clicked, this, &MonitorForm::onRecordBtnClicked);
  timer_ = new PollTimer(*this, context_.line(), [this] { return pollPass(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addWidget(linkStatus_);
  layout->addLayout(buttonRow({recordButton_, exitButton_}));
}

void MonitorForm::load() {
  rows_.assign(static_cast<std::size_t>(count_), MonitorRow{});
  values_.assign(static_cast<std::size_t>(count_), MonitorValue{});
  recordButton_->setEnabled(count_ > 0);
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
  stopRecording();
  QDialog::done(result);
}

bool MonitorForm::polling() const { return timer_->active(); }

int MonitorForm::pollInterval() const { return timer_->interval(); }

void MonitorForm::pollOnce() { RunSequence(pollPass()); }

LinkTask<void> MonitorForm::pollPass() {
  linkError_.clear();
  const int session = recording() ? recordSession_ : 0;
  std::string recorded;
  for (int i = 0; i < count_; ++i) {
    co_await pollEntry(i);
    if (session != 0) recorded += recordRow(i);
  }
  linkStatus_->setText(QString::fromLocal8Bit(linkError_.c_str()));
  if (session != 0 && session == recordSession_ && recording()) writeRecord(recorded);
}

LinkTask<void> MonitorForm::pollEntry(int i) {
  const ModuleEntry& e = context_.ModuleList[static_cast<std::size_t>(i)];
  MonitorRow& row = rows_[static_cast<std::size_t>(i)];
  values_[static_cast<std::size_t>(i)] = MonitorValue{};
  const MonitorPoll poll = monitorPoll(e.ModelName);
  if (poll == MonitorPoll::Nothing) co_return;
  if (poll == MonitorPoll::AnalogInput || poll == MonitorPoll::MultiFunction) {
    const std::string value = co_await ReadAnalogValueAsync(context_, i, 0);
    noteLinkError();
    const std::string unit = protocol::unitOf(e.TypeCode, e.DataFormat);
    analogInputData(row, value, unit, context_.DecimalSeparator);
    values_[static_cast<std::size_t>(i)] = analogInputValue(value, unit);
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
  if (const auto value = outputReadBackValue(e.TypeCode, e.DataFormat, ok, reply()))
    values_[static_cast<std::size_t>(i)] = *value;
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

std::string MonitorForm::recordRow(int i) const {
  const auto n = static_cast<std::size_t>(i);
  const ModuleEntry& e = context_.ModuleList[n];
  return monitorRecordRow(QDateTime::currentDateTime(),
                          {e.Address, monitorModel(e.ModelName), monitorPoll(e.ModelName)},
                          values_[n], rows_[n]);
}

void MonitorForm::onRecordBtnClicked() {
  if (recording()) {
    stopRecording();
    return;
  }
  const QString name = context_.ui().saveFileName(
      this, QStringLiteral("Record"), QStringLiteral("CSV Files (*.csv);;All Files (*)"));
  if (name.isEmpty() || !openRecord(name)) return;
  recordName_ = name;
  ++recordSession_;
  recordButton_->setText(QStringLiteral("Stop recording"));
}

bool MonitorForm::openRecord(const QString& name) {
  std::string cause = record_.open(localFilePath(name));
  if (cause.empty()) {
    const RecordFile::Content content = record_.content(kMonitorRecordHeader);
    if (content == RecordFile::Content::Other &&
        context_.ui().message(
            this, QStringLiteral("%1 is not a record of the monitor. Replace it?").arg(name),
            kAppTitle, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
      record_.close();
      return false;
    }
    cause = startRecord(content);
  }
  if (cause.empty()) return true;
  record_.close();
  context_.ui().message(
      this, QStringLiteral("Cannot record to %1: %2.").arg(name, QString::fromLocal8Bit(cause)),
      kErrorTitle);
  return false;
}

// A record of the monitor grows as it is; anything else starts anew with the
// header.
std::string MonitorForm::startRecord(RecordFile::Content content) {
  if (content == RecordFile::Content::Record) return {};
  if (content == RecordFile::Content::Other) {
    std::string cause = record_.replace();
    if (!cause.empty()) return cause;
  }
  return record_.append(monitorRecordHeader());
}

void MonitorForm::writeRecord(const std::string& rows) {
  const std::string cause = record_.append(rows);
  if (cause.empty()) return;
  const QString text = QStringLiteral("Cannot write the record %1: %2. Recording stopped.")
                           .arg(recordName_, QString::fromLocal8Bit(cause));
  stopRecording();
  // A pass never opens a message box: this one comes after it.
  QMetaObject::invokeMethod(
      this, [this, text] { context_.ui().message(this, text, kErrorTitle); }, Qt::QueuedConnection);
}

void MonitorForm::stopRecording() {
  record_.close();
  recordButton_->setText(QStringLiteral("Record…"));
}

}  // namespace orvane::admin
