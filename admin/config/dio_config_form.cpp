#include "admin/config/dio_config_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/config/config_commands.h"
#include "admin/config/polarity_list.h"
#include "admin/core/admin_context.h"

namespace orvane::admin {

namespace {

// The digital modules have no range: their configuration command always
// carries this TypeCode, and no format bits besides the checksum.
constexpr int kDigitalTypeCode = 0x40;

}  // namespace

DioConfigForm::DioConfigForm(AdminContext& context, QWidget* parent)
    : ConfigForm(context, QStringLiteral("DioConfigForm"), parent) {
  buildControls();
  load();
}

void DioConfigForm::buildControls() {
  auto* module = new QGroupBox(QStringLiteral("Module"), this);
  module->setObjectName(QStringLiteral("Frame1"));
  baudRate_ = makeBaudRateList(module);
  checksum_ = new QCheckBox(QStringLiteral("Checksum Enabled"), module);
  checksum_->setObjectName(QStringLiteral("ChecksumBox"));
  auto* moduleForm = new QFormLayout(module);
  moduleForm->addRow(QStringLiteral("Module:"), moduleName_);
  moduleForm->addRow(QStringLiteral("Address(Dec):"), makeAddressRow());
  moduleForm->addRow(QStringLiteral("Baud rate:"), baudRate_);
  moduleForm->addRow(checksum_);

  auto* polarity = new QGroupBox(QStringLiteral("I/O polarity"), this);
  polarity->setObjectName(QStringLiteral("Frame2"));
  outputPolarity_ = makePolarityList(QStringLiteral("OutputPolarity"), polarity);
  inputPolarity_ = makePolarityList(QStringLiteral("InputPolarity"), polarity);
  auto* polarityForm = new QFormLayout(polarity);
  polarityForm->addRow(QStringLiteral("Output:"), outputPolarity_);
  polarityForm->addRow(QStringLiteral("Input:"), inputPolarity_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(module);
  layout->addWidget(polarity);
  layout->addLayout(buttons);
}

void DioConfigForm::load() {
  const ModuleEntry& e = entry();
  applyLinkEnabling({baudRate_, checksum_});
  select(*baudRate_, e.BaudCode);
  checksum_->setChecked(e.ChecksumFlag != 0);
  select(*inputPolarity_, inputPolarity(e.Polarity));
  select(*outputPolarity_, outputPolarity(e.Polarity));
}

void DioConfigForm::applyChanges() {
  const auto address = newAddress();
  if (!address) return;
  applyModuleSettings(*address);
  applyPolarity();
  accept();
}

void DioConfigForm::applyModuleSettings(int address) {
  const StandardSettings wanted{address, kDigitalTypeCode, chosen(*baudRate_, entry().BaudCode),
                                checksum_->isChecked() ? 1 : 0, 0};
  if (applyStandardSettings(wanted, false, QStringLiteral("Configuration command failed.")))
    showCompletion();
}

void DioConfigForm::applyPolarity() {
  ModuleEntry& e = entry();
  const int inputs = chosen(*inputPolarity_, inputPolarity(e.Polarity));
  const int outputs = chosen(*outputPolarity_, outputPolarity(e.Polarity));
  if (inputs == inputPolarity(e.Polarity) && outputs == outputPolarity(e.Polarity)) return;
  if (!send('~', polarityBody(outputs, inputs))) {
    showError(QStringLiteral("Digital I/O polarity configuration failed."));
    return;
  }
  e.Polarity = outputs * 2 + inputs;
  changed();
}

}  // namespace orvane::admin
