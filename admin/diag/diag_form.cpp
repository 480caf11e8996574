#include "admin/diag/diag_form.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/local_file_path.h"
#include "admin/core/reply_fields.h"
#include "admin/core/theme_colours.h"
#include "admin/core/ui_naming.h"
#include "admin/diag/csv_text.h"
#include "admin/diag/diag_text.h"
#include "admin/diag/poll_timer.h"
#include "protocol/numbers.h"
#include "serial/file_write.h"

namespace orvane::admin {

QLabel* linkStatusLabel(QWidget* parent) {
  QLabel* label = namedLabel(QStringLiteral("LinkStatus"), QString(), parent);
  setTextTone(*label, TextTone::Alarm);
  label->setWordWrap(true);
  return label;
}

QPushButton* exitButtonOf(QDialog& window) {
  auto* button = namedButton(QStringLiteral("ExitBtn"), QStringLiteral("Exit"), &window);
  QObject::connect(button, &QPushButton::clicked, &window, &QDialog::reject);
  return button;
}

QPushButton* saveButtonOf(QWidget& window) {
  return namedButton(QStringLiteral("SaveBtn"), QStringLiteral("Save…"), &window);
}

QLayout* buttonRow(std::initializer_list<QWidget*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  for (QWidget* button : buttons) row->addWidget(button);
  row->addStretch();
  return row;
}

DiagForm::DiagForm(AdminContext& context, const QString& name, const QString& caption,
                   QWidget* parent)
    : QDialog(parent), context_(context), index_(context.SelectedIndex) {
  setObjectName(name);
  setWindowTitle(caption);
  moduleName_ =
      namedLabel(QStringLiteral("ModuleName"),
                 QString::fromStdString(std::string(protocol::trimmed(entry().ModelName))), this);
  addr_ = namedLabel(QStringLiteral("Addr"), addressCaption(entry().Address), this);
  rev_ = namedLabel(QStringLiteral("Rev"), QString(), this);
  linkStatus_ = linkStatusLabel(this);
  exitButton_ = exitButtonOf(*this);
  timer_ = new PollTimer(*this, context.line(), [this] { return poll(); });
}

ModuleEntry& DiagForm::entry() const {
  return context_.ModuleList.at(static_cast<std::size_t>(index_));
}

QWidget* DiagForm::identityRows(const QString& revLabelName) {
  auto* rows = new QWidget(this);
  auto* form = new QFormLayout(rows);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(namedLabel(QStringLiteral("Label1"), QStringLiteral("Module:"), rows), moduleName_);
  form->addRow(namedLabel(QStringLiteral("Label2"), QStringLiteral("Address:"), rows), addr_);
  form->addRow(namedLabel(revLabelName, QStringLiteral("F/W rev.:"), rows), rev_);
  return rows;
}

void DiagForm::readFirmware() {
  // A failed read's fragments or checksum digits are no revision.
  const bool valid =
      exchange('$', "F", context_.ReplyTimeout) && replyValid(true, context_.LastReply, '!');
  rev_->setText(valid ? QString::fromStdString(replyText(context_.LastReply, 3)) : QString());
}

void DiagForm::saveReadings(const std::string& csv) {
  const QString name = context_.ui().saveFileName(
      this, QStringLiteral("Save Readings"), QStringLiteral("CSV Files (*.csv);;All Files (*)"));
  if (name.isEmpty()) return;
  try {
    serial::writeFileAtomically(localFilePath(name), csv);
  } catch (const std::exception& e) {
    context_.ui().message(
        this, QStringLiteral("Cannot save the readings: %1.").arg(QString::fromLocal8Bit(e.what())),
        kErrorTitle);
  }
}

bool DiagForm::exchange(char lead, std::string_view body, int timeoutMs) {
  context_.LastCommand = addressedCommand(lead, effectiveAddress(context_, index_), body);
  ExchangeCommand(context_, index_, 0, timeoutMs);
  noteLinkError();
  return context_.LastExchangeOK;
}

LinkTask<bool> DiagForm::exchangeAsync(char lead, std::string body, int timeoutMs) {
  context_.LastCommand = addressedCommand(lead, effectiveAddress(context_, index_), body);
  co_await ExchangeCommandAsync(context_, index_, 0, timeoutMs);
  noteLinkError();
  co_return context_.LastExchangeOK;
}

LinkTask<std::string> DiagForm::readAnalogValueAsync(int channel) {
  std::string value = co_await ReadAnalogValueAsync(context_, index_, channel);
  noteLinkError();
  co_return value;
}

std::string DiagForm::readAnalogValue(int channel) {
  std::string value = ReadAnalogValue(context_, index_, channel);
  noteLinkError();
  return value;
}

void DiagForm::noteLinkError() {
  // The first failure of the line names the cause; the exchanges after it
  // fail for the same one (the adapter is still out).
  if (linkError_.empty()) linkError_ = context_.LastLinkError;
}

const std::string& DiagForm::reply() const { return context_.LastReply; }

bool DiagForm::exchangeNow(char lead, std::string_view body, int timeoutMs) {
  linkError_.clear();
  const bool ok = exchange(lead, body, timeoutMs);
  showLinkStatus();
  return ok;
}

void DiagForm::setPollInterval(int intervalMs, bool firstAtOnce) {
  timer_->setInterval(intervalMs, firstAtOnce);
}

bool DiagForm::polling() const { return timer_->active(); }

void DiagForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  timer_->start();
}

void DiagForm::done(int result) {
  timer_->stop();
  QDialog::done(result);
}

void DiagForm::pollOnce() { RunSequence(poll()); }

LinkTask<void> DiagForm::poll() {
  linkError_.clear();
  co_await tick();
  showLinkStatus();
}

void DiagForm::showLinkStatus() {
  linkStatus_->setText(QString::fromLocal8Bit(linkError_.c_str()));
}

}  // namespace orvane::admin
