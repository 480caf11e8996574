#include "admin/config/ad_config_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "admin/config/config_commands.h"
#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/spin_button.h"
#include "admin/core/ui_naming.h"
#include "protocol/catalogue.h"
#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

constexpr int kLastInputRange = 0x2A;

QHBoxLayout* addressRow(QLineEdit* addr, SpinButton* spin) {
  auto* row = new QHBoxLayout;
  row->addWidget(addr);
  row->addWidget(spin);
  row->addStretch();
  return row;
}

}  // namespace

AdConfigForm::AdConfigForm(AdminContext& context, QWidget* parent)
    : ConfigForm(context, QStringLiteral("AdConfigForm"), parent) {
  buildControls();
  load();
}

void AdConfigForm::buildControls() {
  auto* module = new QGroupBox(QStringLiteral("Module"), this);
  module->setObjectName(QStringLiteral("Frame1"));
  inputRange_ = new QComboBox(module);
  inputRange_->setObjectName(QStringLiteral("InputRange"));
  dataFormat_ = new QComboBox(module);
  dataFormat_->setObjectName(QStringLiteral("DataFormat"));
  baudRate_ = makeBaudRateList(module);
  checksum_ = makeChecksumList(module);
  auto* form = new QFormLayout(module);
  form->addRow(QStringLiteral("Module:"), moduleName_);
  form->addRow(QStringLiteral("Address (Dec):"), addressRow(addr_, addressSpin_));
  form->addRow(QStringLiteral("Input range:"), inputRange_);
  form->addRow(QStringLiteral("Data format:"), dataFormat_);
  form->addRow(QStringLiteral("Baud rate:"), baudRate_);
  form->addRow(QStringLiteral("Checksum:"), checksum_);

  auto* channels = new QGroupBox(QStringLiteral("A/D channel enablement"), this);
  channels->setObjectName(QStringLiteral("Frame2"));
  auto* grid = new QGridLayout(channels);
  grid->addWidget(
      namedLabel(indexedName(QStringLiteral("Label6"), 0), QStringLiteral("Enable"), channels), 0,
      1);
  grid->addWidget(
      namedLabel(indexedName(QStringLiteral("Label6"), 1), QStringLiteral("Disable"), channels), 0,
      2);
  for (int n = 0; n < 8; ++n) {
    const auto i = static_cast<std::size_t>(n);
    grid->addWidget(namedLabel(indexedName(QStringLiteral("Label7"), n),
                               QStringLiteral("Channel %1").arg(n), channels),
                    n + 1, 0);
    // Each row's pair sits in its own container, so every row is a choice
    // of its own.
    auto* row = new QWidget(channels);
    row->setObjectName(indexedName(QStringLiteral("Picture1"), n));
    auto* pair = new QHBoxLayout(row);
    pair->setContentsMargins(0, 0, 0, 0);
    enable_[i] = new QRadioButton(row);
    enable_[i]->setObjectName(indexedName(QStringLiteral("ChannelEnable"), n));
    disable_[i] = new QRadioButton(row);
    disable_[i]->setObjectName(indexedName(QStringLiteral("ChannelDisable"), n));
    pair->addWidget(enable_[i]);
    pair->addWidget(disable_[i]);
    grid->addWidget(row, n + 1, 1, 1, 2);
  }

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(module);
  layout->addWidget(channels);
  layout->addLayout(buttons);
}

void AdConfigForm::load() {
  const ModuleEntry& e = entry();
  fillRangeList(*inputRange_, e.ModelName, kLastInputRange);
  fillFormatList(*dataFormat_, e.ModelName);
  applyLinkEnabling({baudRate_, checksum_});
  selectRange(*inputRange_, e.TypeCode);
  selectData(*dataFormat_, e.DataFormat);
  select(*baudRate_, e.BaudCode);
  select(*checksum_, e.ChecksumFlag);
  // Without a valid reply every channel shows disabled, and only rows the
  // user sets make the mask go out.
  channelsRead_ = ReadChannelMask(context(), entryIndex(), channels_);
  channelCount_ = protocol::channelCount(e.ModelName);
  for (std::size_t n = 0; n < 8; ++n) {
    const bool shown = static_cast<int>(n) < channelCount_;
    enable_[n]->setVisible(shown);
    disable_[n]->setVisible(shown);
    if (shown) (channels_[n] ? enable_[n] : disable_[n])->setChecked(true);
  }
}

void AdConfigForm::applyChanges() {
  const auto address = newAddress();
  if (!address) return;
  applyModuleSettings(*address);
  applyChannelMask();
  finish();
}

void AdConfigForm::applyModuleSettings(int address) {
  ModuleEntry& e = entry();
  const int typeCode = chosenData(*inputRange_, e.TypeCode);
  const int format = chosenData(*dataFormat_, e.DataFormat);
  const StandardSettings wanted{address, typeCode, chosen(*baudRate_, e.BaudCode),
                                chosen(*checksum_, e.ChecksumFlag), format};
  if (!applyStandardSettings(wanted, typeCode != e.TypeCode || format != e.DataFormat,
                             QStringLiteral("Configuration command failed.")))
    return;
  e.TypeCode = typeCode;
  e.DataFormat = format;
}

bool AdConfigForm::channelRowsChanged() const {
  for (std::size_t n = 0; n < static_cast<std::size_t>(channelCount_); ++n)
    if (enable_[n]->isChecked() != channels_[n]) return true;
  return false;
}

void AdConfigForm::applyChannelMask() {
  // A mask that could not be read is not sent back blindly: that would
  // disable every channel the user did not touch.
  if (!channelsRead_ && !channelRowsChanged()) return;
  std::array<bool, 8> enabled{};
  for (std::size_t n = 0; n < 8; ++n) enabled[n] = enable_[n]->isChecked();
  if (send('$',
           "5" + protocol::hex2(static_cast<std::uint32_t>(channelMask(enabled, channelCount_)))))
    changed();
  else
    showError(QStringLiteral("Channel enable/disable configuration failed."));
}

}  // namespace orvane::admin
