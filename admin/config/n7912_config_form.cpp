#include "admin/config/n7912_config_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/config/config_commands.h"
#include "admin/core/admin_context.h"

namespace orvane::admin {

namespace {

QComboBox* namedList(const char* name, const QStringList& items, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->addItems(items);
  return list;
}

ConverterSettings settingsOf(const ModuleEntry& e) {
  return {e.Address,       e.BaudCode, e.Rs232BaudCode, e.ChecksumFlag, e.AddressingCode,
          e.InterfaceCode, e.AppendCR, e.ParityCode,    e.DataFormat,   e.StopBitsCode};
}

void store(ModuleEntry& e, const ConverterSettings& s) {
  e.Address = s.address;
  e.BaudCode = s.baudCode;
  e.Rs232BaudCode = s.rs232BaudCode;
  e.ChecksumFlag = s.checksumFlag;
  e.AddressingCode = s.addressingCode;
  e.InterfaceCode = s.interfaceCode;
  e.AppendCR = s.appendCR;
  e.ParityCode = s.parityCode;
  e.DataFormat = s.dataFormat;
  e.StopBitsCode = s.stopBitsCode;
}

}  // namespace

N7912ConfigForm::N7912ConfigForm(AdminContext& context, QWidget* parent)
    : ConfigForm(context, QStringLiteral("N7912ConfigForm"), parent) {
  buildControls();
  load();
}

void N7912ConfigForm::buildControls() {
  auto* frames = new QVBoxLayout;
  frames->addWidget(buildBaudFrame());
  frames->addWidget(buildRs232Frame());
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(buildModuleFrame());
  layout->addLayout(frames);
  layout->addLayout(buttons);
}

QWidget* N7912ConfigForm::buildModuleFrame() {
  auto* frame = new QGroupBox(QStringLiteral("Module"), this);
  frame->setObjectName(QStringLiteral("Frame1"));
  checksum_ = makeChecksumList(frame);
  addressable_ = namedList("AddressableCombo", {"Addressable", "Non-addressable"}, frame);
  interface_ = namedList("InterfaceCombo", {"RS-422", "RS-485"}, frame);
  appendCR_ = namedList("AppendcrCombo", {"No", "Yes"}, frame);
  auto* form = new QFormLayout(frame);
  form->addRow(QStringLiteral("Module:"), moduleName_);
  form->addRow(QStringLiteral("Address (Dec):"), makeAddressRow());
  form->addRow(QStringLiteral("Checksum:"), checksum_);
  form->addRow(QStringLiteral("Addressable:"), addressable_);
  form->addRow(QStringLiteral("Interface:"), interface_);
  form->addRow(QStringLiteral("Append <CR>:"), appendCR_);
  return frame;
}

QWidget* N7912ConfigForm::buildBaudFrame() {
  auto* frame = new QGroupBox(QStringLiteral("Baud rate"), this);
  frame->setObjectName(QStringLiteral("Frame3"));
  rs232Baud_ = makeBaudRateList(frame);
  rs232Baud_->setObjectName(QStringLiteral("Baudrate_232"));
  baudRate_ = makeBaudRateList(frame);
  auto* form = new QFormLayout(frame);
  form->addRow(QStringLiteral("RS-232:"), rs232Baud_);
  form->addRow(QStringLiteral("RS-422/485:"), baudRate_);
  return frame;
}

QWidget* N7912ConfigForm::buildRs232Frame() {
  auto* frame = new QGroupBox(QStringLiteral("RS-232"), this);
  frame->setObjectName(QStringLiteral("Frame2"));
  parity_ = new QComboBox(frame);
  parity_->setObjectName(QStringLiteral("ParityCombo"));
  parity_->addItem(QStringLiteral("None"), 0);
  parity_->addItem(QStringLiteral("Odd"), 1);
  parity_->addItem(QStringLiteral("Even"), 3);
  dataBits_ = namedList("DatabitsCombo", {"5", "6", "7", "8"}, frame);
  stopBits_ = namedList("StopbitsCombo", {"1", "2"}, frame);
  auto* form = new QFormLayout(frame);
  form->addRow(QStringLiteral("Parity:"), parity_);
  form->addRow(QStringLiteral("Data bits:"), dataBits_);
  form->addRow(QStringLiteral("Stop bits:"), stopBits_);
  return frame;
}

void N7912ConfigForm::load() {
  const ModuleEntry& e = entry();
  // Only the initialization entry may change more than its address.
  applyLinkEnabling({checksum_, addressable_, interface_, appendCR_, baudRate_, rs232Baud_, parity_,
                     dataBits_, stopBits_});
  select(*baudRate_, e.BaudCode);
  select(*rs232Baud_, e.Rs232BaudCode);
  select(*checksum_, e.ChecksumFlag);
  select(*addressable_, e.AddressingCode);
  select(*interface_, e.InterfaceCode);
  select(*appendCR_, e.AppendCR);
  select(*parity_, parityPosition(e.ParityCode));
  select(*dataBits_, e.DataFormat);
  select(*stopBits_, e.StopBitsCode);
}

ConverterSettings N7912ConfigForm::chosenSettings(int address) const {
  const ModuleEntry& e = entry();
  // A parity list the user left where the load put it keeps the entry's
  // code, so code 2 (shown as "None") is repeated, not rewritten.
  const int parity = parity_->currentIndex() == parityPosition(e.ParityCode)
                         ? e.ParityCode
                         : chosenData(*parity_, e.ParityCode);
  return {address,
          chosen(*baudRate_, e.BaudCode),
          chosen(*rs232Baud_, e.Rs232BaudCode),
          chosen(*checksum_, e.ChecksumFlag),
          chosen(*addressable_, e.AddressingCode),
          chosen(*interface_, e.InterfaceCode),
          chosen(*appendCR_, e.AppendCR),
          parity,
          chosen(*dataBits_, e.DataFormat),
          chosen(*stopBits_, e.StopBitsCode)};
}

void N7912ConfigForm::applyChanges() {
  const auto address = newAddress();
  if (!address) return;
  const ConverterSettings settings = chosenSettings(*address);
  if (settings == settingsOf(entry())) {
    finish();
    return;
  }
  const bool confirmed = send('%', converterConfigBody(settings)) &&
                         configurationConfirmed(true, context().LastReply, settings.address);
  if (confirmed) {
    store(entry(), settings);
    changed();
  } else {
    showError(QStringLiteral("Configuration command failed."));
  }
  finish();
}

}  // namespace orvane::admin
