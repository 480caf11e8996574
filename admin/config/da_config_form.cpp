#include "admin/config/da_config_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/config/config_commands.h"
#include "admin/config/polarity_list.h"
#include "admin/core/admin_context.h"
#include "admin/core/ui_naming.h"
#include "protocol/catalogue.h"

namespace orvane::admin {

namespace {

constexpr int kLastOutputRange = 0x33;

}  // namespace

DaConfigForm::DaConfigForm(AdminContext& context, QWidget* parent)
    : ConfigForm(context, QStringLiteral("DaConfigForm"), parent),
      hasInputs_(protocol::familyKey(entry().ModelName) == "347") {
  buildControls();
  load();
}

void DaConfigForm::buildControls() {
  outputRange_ = new QComboBox(this);
  outputRange_->setObjectName(QStringLiteral("OutputRange"));
  dataFormat_ = new QComboBox(this);
  dataFormat_->setObjectName(QStringLiteral("DataFormat"));
  baudRate_ = makeBaudRateList(this);
  checksum_ = makeChecksumList(this);
  inputPolarity_ = makePolarityList(QStringLiteral("InputPolarity"), this);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Module:"), moduleName_);
  form->addRow(QStringLiteral("Address (Dec):"), makeAddressRow());
  form->addRow(QStringLiteral("Output range:"), outputRange_);
  form->addRow(QStringLiteral("Data format:"), dataFormat_);
  form->addRow(QStringLiteral("Baud rate:"), baudRate_);
  form->addRow(QStringLiteral("Checksum:"), checksum_);
  form->addRow(namedLabel(QStringLiteral("Label7"), QStringLiteral("Input polarity:"), this),
               inputPolarity_);
  // Only 7347 has digital inputs; without them the row goes and the dialog
  // shrinks to what is left.
  form->setRowVisible(inputPolarity_, hasInputs_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
}

void DaConfigForm::load() {
  const ModuleEntry& e = entry();
  fillRangeList(*outputRange_, e.ModelName, kLastOutputRange);
  fillFormatList(*dataFormat_, e.ModelName);
  applyLinkEnabling({baudRate_, checksum_});
  selectRange(*outputRange_, e.TypeCode);
  selectData(*dataFormat_, e.DataFormat);
  select(*baudRate_, e.BaudCode);
  select(*checksum_, e.ChecksumFlag);
  if (hasInputs_) select(*inputPolarity_, inputPolarity(e.Polarity));
}

void DaConfigForm::applyChanges() {
  const auto address = newAddress();
  if (!address) return;
  applyModuleSettings(*address);
  applyInputPolarity();
  accept();
}

void DaConfigForm::applyModuleSettings(int address) {
  ModuleEntry& e = entry();
  const int typeCode = chosenData(*outputRange_, e.TypeCode);
  const int format = chosenData(*dataFormat_, e.DataFormat);
  const StandardSettings wanted{address, typeCode, chosen(*baudRate_, e.BaudCode),
                                chosen(*checksum_, e.ChecksumFlag), format};
  if (!applyStandardSettings(wanted, typeCode != e.TypeCode || format != e.DataFormat,
                             QStringLiteral("Configuration command failed.")))
    return;
  e.TypeCode = typeCode;
  e.DataFormat = format;
  showCompletion();
}

void DaConfigForm::applyInputPolarity() {
  if (!hasInputs_) return;
  ModuleEntry& e = entry();
  const int inputs = chosen(*inputPolarity_, inputPolarity(e.Polarity));
  if (inputs == inputPolarity(e.Polarity)) return;
  // The outputs of 7347 are analog: their digit is always 0.
  if (!send('~', polarityBody(0, inputs))) {
    showError(QStringLiteral("Digital input polarity configuration failed."));
    return;
  }
  e.Polarity = inputs;
  changed();
}

}  // namespace orvane::admin
