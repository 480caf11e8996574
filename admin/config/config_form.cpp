#include "admin/config/config_form.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "admin/config/config_commands.h"
#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/number_input.h"
#include "admin/core/spin_button.h"
#include "admin/core/ui_naming.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

constexpr int kHighestAddress = 255;

}  // namespace

ConfigForm::ConfigForm(AdminContext& context, const QString& name, QWidget* parent)
    : QDialog(parent), context_(context), index_(context.SelectedIndex) {
  setObjectName(name);
  setWindowTitle(QStringLiteral("Configuration"));
  moduleName_ =
      namedLabel(QStringLiteral("ModuleName"),
                 QString::fromStdString(std::string(protocol::trimmed(entry().ModelName))), this);
  addr_ = new QLineEdit(QString::number(entry().Address), this);
  addr_->setObjectName(QStringLiteral("Addr"));
  addr_->setMaximumWidth(60);
  DigitKeys(context_, *addr_);
  addressSpin_ = new SpinButton(QStringLiteral("AddressSpin"), this);
  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("OKBtn"));
  okButton_->setDefault(true);
  okButton_->setAutoDefault(true);
  cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancelButton_->setObjectName(QStringLiteral("CancelBtn"));
  cancelButton_->setAutoDefault(false);
  connect(okButton_, &QPushButton::clicked, this, &ConfigForm::onOKBtnClicked);
  connect(cancelButton_, &QPushButton::clicked, this, &ConfigForm::reject);
  connect(addressSpin_, &SpinButton::spinUp, this, &ConfigForm::onAddressSpinUp);
  connect(addressSpin_, &SpinButton::spinDown, this, &ConfigForm::onAddressSpinDown);
}

ModuleEntry& ConfigForm::entry() const {
  return context_.ModuleList.at(static_cast<std::size_t>(index_));
}

bool ConfigForm::isInitializationEntry() const { return index_ == context_.InitModuleIndex; }

QComboBox* ConfigForm::makeBaudRateList(QWidget* parent) const {
  auto* list = new QComboBox(parent);
  list->setObjectName(QStringLiteral("BaudRate"));
  for (const char* rate : protocol::baudRateTexts()) list->addItem(QString::fromLatin1(rate));
  return list;
}

QComboBox* ConfigForm::makeChecksumList(QWidget* parent) const {
  auto* list = new QComboBox(parent);
  list->setObjectName(QStringLiteral("ChecksumCombo"));
  list->addItems({QStringLiteral("Disabled"), QStringLiteral("Enabled")});
  return list;
}

QHBoxLayout* ConfigForm::makeAddressRow() const {
  auto* row = new QHBoxLayout;
  row->addWidget(addr_);
  row->addWidget(addressSpin_);
  row->addStretch();
  return row;
}

void ConfigForm::applyLinkEnabling(std::initializer_list<QWidget*> controls) const {
  for (QWidget* control : controls) control->setEnabled(isInitializationEntry());
}

void ConfigForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  addr_->setFocus();
  addr_->selectAll();
}

void ConfigForm::reject() {
  context_.ConfigResult = 2;
  QDialog::reject();
}

void ConfigForm::onOKBtnClicked() {
  context_.ConfigResult = 2;
  applyChanges();
}

void ConfigForm::onAddressSpinUp() {
  const auto value = digitsValue(addr_->text());
  if (value && *value < kHighestAddress) addr_->setText(QString::number(*value + 1));
}

void ConfigForm::onAddressSpinDown() {
  const auto value = digitsValue(addr_->text());
  if (value && *value > 1) addr_->setText(QString::number(*value - 1));
}

void ConfigForm::refuse(QLineEdit& field, const QString& text) {
  showError(text);
  field.setFocus();
  field.selectAll();
}

std::optional<int> ConfigForm::newAddress() {
  const QString refusal = numberRefusal(addr_->text(), 32767);
  if (!refusal.isEmpty() && refusal != QStringLiteral("Number can not exceed 32767.")) {
    refuse(*addr_, refusal);
    return std::nullopt;
  }
  const auto value = digitsValue(addr_->text(), kHighestAddress);
  if (!value) {
    refuse(*addr_, QStringLiteral("Address can not exceed %1.").arg(kHighestAddress));
    return std::nullopt;
  }
  return value;
}

std::optional<double> ConfigForm::typedValue(QLineEdit& field, double low, double high) {
  const auto value = typedNumber(field.text(), context_.DecimalSeparator);
  if (!value || *value < low) {
    refuse(field, QStringLiteral("Please input a number."));
    return std::nullopt;
  }
  if (*value > high) {
    refuse(field, QStringLiteral("Number can not exceed %1.").arg(shown(high)));
    return std::nullopt;
  }
  return value;
}

QString ConfigForm::shown(double value) const {
  return shownNumber(value, context_.DecimalSeparator);
}

QString ConfigForm::shown(float value) const {
  return shownNumber(value, context_.DecimalSeparator);
}

bool ConfigForm::send(char lead, std::string_view body) {
  context_.LastCommand = addressedCommand(lead, effectiveAddress(context_, index_), body);
  ExchangeCommand(context_, index_, 0, context_.LongReplyTimeout);
  return context_.LastExchangeOK && context_.LastReply.starts_with('!');
}

bool ConfigForm::sendConfiguration(int newAddress, int typeCode, int baudCode, int formatByte) {
  context_.LastCommand = standardConfigCommand(effectiveAddress(context_, index_), newAddress,
                                               typeCode, baudCode, formatByte);
  ExchangeCommand(context_, index_, 0, context_.LongReplyTimeout);
  return configurationConfirmed(context_.LastExchangeOK, context_.LastReply, newAddress);
}

bool ConfigForm::applyStandardSettings(const StandardSettings& wanted, bool familyChanged,
                                       const QString& failure) {
  ModuleEntry& e = entry();
  if (!familyChanged && wanted.address == e.Address && wanted.baudCode == e.BaudCode &&
      wanted.checksum == e.ChecksumFlag)
    return false;
  if (!sendConfiguration(wanted.address, wanted.typeCode, wanted.baudCode,
                         formatByte(wanted.checksum, wanted.familyBits))) {
    showError(failure);
    return false;
  }
  e.Address = wanted.address;
  e.BaudCode = wanted.baudCode;
  e.ChecksumFlag = wanted.checksum;
  changed();
  return true;
}

void ConfigForm::showError(const QString& text) { context_.ui().message(this, text, kErrorTitle); }

void ConfigForm::changed() { context_.ConfigResult = 1; }

void ConfigForm::showCompletion() {
  context_.ui().message(this, QStringLiteral("Change configuration complete."));
}

void ConfigForm::finish() {
  if (context_.ConfigResult == 1) showCompletion();
  accept();
}

int chosen(const QComboBox& list, int entryValue) {
  return list.currentIndex() >= 0 ? list.currentIndex() : entryValue;
}

void select(QComboBox& list, int position) {
  list.setCurrentIndex(position >= 0 && position < list.count() ? position : -1);
}

void fillRangeList(QComboBox& list, std::string_view model, int lastCode) {
  for (int code = 0; code <= lastCode; ++code)
    if (protocol::typeCodeValid(model, code))
      list.addItem(QString::fromStdString(protocol::typeCodeName(code)), code);
}

void fillFormatList(QComboBox& list, std::string_view model) {
  for (int format = 0; format <= 3; ++format)
    if (protocol::dataFormatValid(model, format))
      list.addItem(QString::fromStdString(protocol::dataFormatName(format)), format);
}

void selectRange(QComboBox& list, int typeCode) {
  int position = list.findData(typeCode);
  const QString name = QString::fromStdString(protocol::typeCodeNameTrimmed(typeCode));
  for (int i = 0; position < 0 && !name.isEmpty() && i < list.count(); ++i)
    if (list.itemText(i).trimmed() == name) position = i;
  list.setCurrentIndex(position);
}

void selectData(QComboBox& list, int value) { list.setCurrentIndex(list.findData(value)); }

int chosenData(const QComboBox& list, int entryValue) {
  return list.currentIndex() >= 0 ? list.currentData().toInt() : entryValue;
}

}  // namespace orvane::admin
