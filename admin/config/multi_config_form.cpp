#include "admin/config/multi_config_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

#include "admin/config/config_commands.h"
#include "admin/config/multi_config_commands.h"
#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/spin_button.h"
#include "admin/core/ui_naming.h"
#include "protocol/catalogue.h"

namespace orvane::admin {

namespace {

constexpr int kLastInputRange = 0x16;
constexpr int kAlarmModes = 3;
constexpr float ModuleEntry::*kEntryFields[] = {
    &ModuleEntry::AlarmHigh,  &ModuleEntry::AlarmLow,  &ModuleEntry::SourceLow,
    &ModuleEntry::SourceHigh, &ModuleEntry::TargetLow, &ModuleEntry::TargetHigh,
};

QComboBox* namedList(const char* name, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  return list;
}

QHBoxLayout* row(QWidget* first, QWidget* second) {
  auto* layout = new QHBoxLayout;
  layout->addWidget(first);
  layout->addWidget(second);
  layout->addStretch();
  return layout;
}

QGroupBox* namedFrame(const char* name, const QString& title, QWidget* parent) {
  auto* frame = new QGroupBox(title, parent);
  frame->setObjectName(QString::fromLatin1(name));
  return frame;
}

}  // namespace

MultiConfigForm::MultiConfigForm(AdminContext& context, QWidget* parent)
    : ConfigForm(context, QStringLiteral("MultiConfigForm"), parent) {
  auto* left = new QVBoxLayout;
  left->addWidget(buildModuleFrame());
  left->addWidget(buildAlarmFrame());
  auto* frames = new QHBoxLayout;
  frames->addLayout(left);
  frames->addWidget(buildMappingFrame(), 0, Qt::AlignTop);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(frames);
  layout->addLayout(buttons);
  load();
}

QGroupBox* MultiConfigForm::buildModuleFrame() {
  auto* frame = namedFrame("Frame4", QStringLiteral("Module"), this);
  inputRange_ = namedList("InputRange", frame);
  dataFormat_ = namedList("DataFormat", frame);
  baudRate_ = makeBaudRateList(frame);
  checksum_ = makeChecksumList(frame);
  auto* form = new QFormLayout(frame);
  form->addRow(QStringLiteral("Module:"), moduleName_);
  form->addRow(QStringLiteral("Address (Dec):"), row(addr_, addressSpin_));
  form->addRow(QStringLiteral("Input range:"), inputRange_);
  form->addRow(QStringLiteral("Data format:"), dataFormat_);
  form->addRow(QStringLiteral("Baud rate:"), baudRate_);
  form->addRow(QStringLiteral("Checksum:"), checksum_);
  return frame;
}

QGroupBox* MultiConfigForm::buildAlarmFrame() {
  auto* frame = namedFrame("Frame5", QStringLiteral("Alarm/Counter"), this);
  alarmSetting_ = namedList("AlarmSetting", frame);
  numbers_[High] = numberField("HighAlarm", frame);
  numbers_[Low] = numberField("LowAlarm", frame);
  for (int i = 0; i < 2; ++i)
    formatText_[static_cast<std::size_t>(i)] =
        namedLabel(indexedName(QStringLiteral("FormatText"), i), QString(), frame);
  auto* form = new QFormLayout(frame);
  form->addRow(QStringLiteral("Alarm setting:"), alarmSetting_);
  form->addRow(QStringLiteral("High alarm value:"), row(numbers_[High], formatText_[0]));
  form->addRow(QStringLiteral("Low alarm value:"), row(numbers_[Low], formatText_[1]));
  return frame;
}

QGroupBox* MultiConfigForm::buildMappingFrame() {
  mappingFrame_ = namedFrame("Frame1", QStringLiteral("Linear mapping"), this);
  mappingCombo_ = namedList("MappingCombo", mappingFrame_);
  mappingCombo_->addItems({QStringLiteral("Disabled"), QStringLiteral("Enabled")});
  auto* layout = new QVBoxLayout(mappingFrame_);
  auto* combo = new QFormLayout;
  combo->addRow(QStringLiteral("Mapping:"), mappingCombo_);
  layout->addLayout(combo);
  const auto pairFrame = [this](const char* name, const QString& title, Number low,
                                const char* lowName, const char* highName) {
    auto* frame = namedFrame(name, title, mappingFrame_);
    numbers_[low] = numberField(lowName, frame);
    numbers_[low + 1] = numberField(highName, frame);
    auto* form = new QFormLayout(frame);
    form->addRow(QStringLiteral("Low value:"), numbers_[low]);
    form->addRow(QStringLiteral("High value:"), numbers_[low + 1]);
    return frame;
  };
  layout->addWidget(
      pairFrame("Frame2", QStringLiteral("Source"), SourceLow, "SourceLow", "SourceHigh"));
  layout->addWidget(
      pairFrame("Frame3", QStringLiteral("Target"), TargetLow, "TargetLow", "TargetHigh"));
  return mappingFrame_;
}

QLineEdit* MultiConfigForm::numberField(const char* name, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setMaximumWidth(90);
  SignedNumberKeys(context(), *field);
  return field;
}

float& MultiConfigForm::entryValue(Number n) const { return entry().*kEntryFields[n]; }

void MultiConfigForm::load() {
  const ModuleEntry& e = entry();
  mapping_ = protocol::familyKey(e.ModelName) == "228";
  fillRangeList(*inputRange_, e.ModelName, kLastInputRange);
  fillFormatList(*dataFormat_, e.ModelName);
  for (int mode = 0; mode < kAlarmModes; ++mode)
    alarmSetting_->addItem(QString::fromStdString(protocol::alarmModeName(mode)));
  applyLinkEnabling({baudRate_, checksum_});
  selectRange(*inputRange_, e.TypeCode);
  selectData(*dataFormat_, e.DataFormat);
  select(*baudRate_, e.BaudCode);
  select(*checksum_, e.ChecksumFlag);
  select(*alarmSetting_, e.AlarmMode);
  // The units stay those of the range the module has: they do not follow
  // a range chosen in the list before OK.
  const QString unit = QString::fromStdString(protocol::unitField(e.TypeCode, e.DataFormat));
  for (QLabel* label : formatText_) label->setText(unit);
  const int shownNumbers = mapping_ ? NumberCount : SourceLow;
  for (int n = 0; n < shownNumbers; ++n)
    numbers_[static_cast<std::size_t>(n)]->setText(shown(entryValue(static_cast<Number>(n))));
  select(*mappingCombo_, e.MappingEnabled);
  mappingFrame_->setVisible(mapping_);
}

void MultiConfigForm::applyChanges() {
  const auto address = newAddress();
  if (!address) return;
  const auto typed = typedNumbers();
  if (!typed) return;
  applyModuleSettings(*address);
  applyAlarmMode();
  applyLimit(*typed, High, "HI", QStringLiteral("High alarm limit configuration failed."));
  applyLimit(*typed, Low, "LO", QStringLiteral("Low alarm limit configuration failed."));
  if (mapping_) {
    applyMappingEnabling();
    applyRange(*typed, SourceLow, "6",
               QStringLiteral("Source high/low values of linear mapping configuration failed."));
    applyRange(*typed, TargetLow, "7",
               QStringLiteral("Target high/low values of linear mapping configuration failed."));
  }
  finish();
}

// Every number the user sees, read before anything is sent; the fields of
// a hidden mapping frame keep the entry's values. A value that goes out
// must fit the engineering-unit text of the range chosen.
std::optional<MultiConfigForm::Numbers> MultiConfigForm::typedNumbers() {
  constexpr double kAny = std::numeric_limits<double>::infinity();
  Numbers typed{};
  for (std::size_t n = 0; n < typed.size(); ++n) {
    const auto number = static_cast<Number>(n);
    const bool read = mapping_ || number < SourceLow;
    const auto value =
        read ? typedValue(*numbers_[n], -kAny, kAny) : std::optional<double>(entryValue(number));
    if (!value) return std::nullopt;
    typed[n] = *value;
  }
  const int typeCode = chosenData(*inputRange_, entry().TypeCode);
  for (std::size_t n = 0; n < typed.size(); ++n) {
    if (goesOut(typed, static_cast<Number>(n)) &&
        !protocol::engineeringTextHolds(typed[n], typeCode)) {
      refuseUncut(*numbers_[n], typeCode);
      return std::nullopt;
    }
  }
  return typed;
}

void MultiConfigForm::refuseUncut(QLineEdit& field, int typeCode) {
  showError(
      QStringLiteral("Number can not exceed %1.").arg(shown(protocol::engineeringLimit(typeCode))));
  field.setFocus();
  field.selectAll();
}

// Limits are compared one by one; a range goes out whole when either of its
// two values changed. Values are compared in the entry's single precision,
// so a field the user did not touch never counts as changed.
bool MultiConfigForm::goesOut(const Numbers& typed, Number n) const {
  const auto differs = [&](Number i) {
    return static_cast<float>(typed[static_cast<std::size_t>(i)]) != entryValue(i);
  };
  if (n == High || n == Low) return differs(n);
  const auto low = static_cast<Number>(n - (n - SourceLow) % 2);
  return mapping_ && (differs(low) || differs(static_cast<Number>(low + 1)));
}

void MultiConfigForm::applyModuleSettings(int address) {
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

void MultiConfigForm::applyAlarmMode() {
  const int mode = chosen(*alarmSetting_, entry().AlarmMode);
  if (mode == entry().AlarmMode) return;
  if (!send('@', alarmModeBody(mode))) {
    showError(QStringLiteral("Alarm configuration failed."));
    return;
  }
  entry().AlarmMode = mode;
  changed();
}

// The text is that of the range the module has now: when it refused a new
// range whose text holds the value but its own does not, nothing goes out.
void MultiConfigForm::applyLimit(const Numbers& typed, Number n, const char* head,
                                 const QString& failure) {
  if (!goesOut(typed, n)) return;
  const double value = typed[n];
  const auto body = engineeringBody(head, {value}, entry().TypeCode);
  if (!body || !send('@', *body)) {
    showError(failure);
    return;
  }
  entryValue(n) = static_cast<float>(value);
  changed();
}

void MultiConfigForm::applyMappingEnabling() {
  const int enabled = chosen(*mappingCombo_, entry().MappingEnabled);
  if (enabled == entry().MappingEnabled) return;
  if (!send('$', enabled == 1 ? "A1" : "A0")) {
    showError(QStringLiteral("Linear mapping enable/disable configuration failed."));
    return;
  }
  entry().MappingEnabled = enabled;
  changed();
}

// Source and target alike go out in the engineering-unit text, each value
// with its sign, so the module can tell where the low value ends.
void MultiConfigForm::applyRange(const Numbers& typed, Number low, const char* head,
                                 const QString& failure) {
  if (!goesOut(typed, low)) return;
  const auto high = static_cast<Number>(low + 1);
  const auto body = engineeringBody(head, {typed[low], typed[high]}, entry().TypeCode);
  if (!body || !send('$', *body)) {
    showError(failure);
    return;
  }
  entryValue(low) = static_cast<float>(typed[low]);
  entryValue(high) = static_cast<float>(typed[high]);
  changed();
}

}  // namespace orvane::admin
