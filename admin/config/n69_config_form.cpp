#include "admin/config/n69_config_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "admin/config/config_commands.h"
#include "admin/config/n69_config_commands.h"
#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/ui_naming.h"
#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

// The 7469 takes no range: its configuration command carries this TypeCode.
constexpr int kDigitalTypeCode = 0x40;

constexpr std::array<const char*, 4> kPortNames{"Port A", "Port B", "Port CH", "Port CL"};

}  // namespace

N69ConfigForm::N69ConfigForm(AdminContext& context, QWidget* parent)
    : ConfigForm(context, QStringLiteral("N69ConfigForm"), parent) {
  buildControls();
  load();
}

void N69ConfigForm::buildControls() {
  auto* module = new QGroupBox(QStringLiteral("Module"), this);
  module->setObjectName(QStringLiteral("Frame2"));
  baudRate_ = makeBaudRateList(module);
  checksumBox_ = new QCheckBox(QStringLiteral("Checksum enabled"), module);
  checksumBox_->setObjectName(QStringLiteral("ChecksumBox"));
  auto* form = new QFormLayout(module);
  form->addRow(QStringLiteral("Module:"), moduleName_);
  form->addRow(QStringLiteral("Address(Dec):"), makeAddressRow());
  form->addRow(QStringLiteral("Baud rate:"), baudRate_);
  form->addRow(checksumBox_);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(module);
  layout->addWidget(buildPortRows());
  layout->addLayout(buttons);
}

QWidget* N69ConfigForm::buildPortRows() {
  auto* ports = new QGroupBox(QStringLiteral("Port config"), this);
  ports->setObjectName(QStringLiteral("Frame1"));
  auto* grid = new QGridLayout(ports);
  grid->addWidget(
      namedLabel(indexedName(QStringLiteral("Label6"), 0), QStringLiteral("Input"), ports), 0, 1);
  grid->addWidget(
      namedLabel(indexedName(QStringLiteral("Label6"), 1), QStringLiteral("Output"), ports), 0, 2);
  for (int p = 0; p < 4; ++p) {
    const auto i = static_cast<std::size_t>(p);
    grid->addWidget(namedLabel(indexedName(QStringLiteral("Label7"), p),
                               QString::fromLatin1(kPortNames[i]), ports),
                    p + 1, 0);
    // Each row's pair sits in its own container, so every row is a choice
    // of its own.
    auto* row = new QWidget(ports);
    row->setObjectName(indexedName(QStringLiteral("Picture1"), p));
    auto* pair = new QHBoxLayout(row);
    pair->setContentsMargins(0, 0, 0, 0);
    input_[i] = new QRadioButton(row);
    input_[i]->setObjectName(indexedName(QStringLiteral("PortInput"), p));
    output_[i] = new QRadioButton(row);
    output_[i]->setObjectName(indexedName(QStringLiteral("PortOutput"), p));
    pair->addWidget(input_[i]);
    pair->addWidget(output_[i]);
    grid->addWidget(row, p + 1, 1, 1, 2);
  }
  return ports;
}

void N69ConfigForm::load() {
  const ModuleEntry& e = entry();
  applyLinkEnabling({baudRate_, checksumBox_});
  select(*baudRate_, e.BaudCode);
  checksumBox_->setChecked(e.ChecksumFlag == 1);
  readPortDirections();
}

void N69ConfigForm::readPortDirections() {
  context().LastCommand = addressedCommand('$', effectiveAddress(context(), entryIndex()), "6");
  ExchangeCommand(context(), entryIndex(), 0, context().ReplyTimeout);
  // Without a valid reply no row shows a choice, and the directions go out
  // only when the user chose all four.
  const auto mask = portDirectionsFromReply(context().LastExchangeOK, context().LastReply);
  if (!mask) return;
  for (std::size_t p = 0; p < 4; ++p)
    ((*mask >> (3 - p)) & 1 ? input_[p] : output_[p])->setChecked(true);
}

void N69ConfigForm::applyChanges() {
  const auto address = newAddress();
  if (!address) return;
  applyModuleSettings(*address);
  applyPortDirections();
  finish();
}

void N69ConfigForm::applyModuleSettings(int address) {
  const StandardSettings wanted{address, kDigitalTypeCode, chosen(*baudRate_, entry().BaudCode),
                                checksumBox_->isChecked() ? 1 : 0, 0};
  applyStandardSettings(wanted, false, QStringLiteral("Configuration command failed."));
}

void N69ConfigForm::applyPortDirections() {
  std::array<std::optional<bool>, 4> rows;
  for (std::size_t p = 0; p < 4; ++p) {
    if (input_[p]->isChecked())
      rows[p] = true;
    else if (output_[p]->isChecked())
      rows[p] = false;
  }
  const auto mask = portDirectionMask(rows);
  if (!mask) return;
  if (send('$', "S" + protocol::hex2(static_cast<std::uint32_t>(*mask))))
    changed();
  else
    showError(QStringLiteral("Port input/output configuration failed."));
}

}  // namespace orvane::admin
