#include "admin/config/ctr_config_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "admin/config/config_commands.h"
#include "admin/config/ctr_config_commands.h"
#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/spin_button.h"
#include "admin/core/theme_colours.h"
#include "admin/core/ui_naming.h"

namespace orvane::admin {

namespace {

constexpr int kCounterType = 0x50;
constexpr double kNoLimit = std::numeric_limits<double>::infinity();

QComboBox* namedList(const QString& name, const QStringList& items, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->addItems(items);
  return list;
}

QGroupBox* namedFrame(const char* name, const QString& title, QWidget* parent) {
  auto* frame = new QGroupBox(title, parent);
  frame->setObjectName(QString::fromLatin1(name));
  return frame;
}

QHBoxLayout* addressRow(QLineEdit* addr, SpinButton* spin) {
  auto* row = new QHBoxLayout;
  row->addWidget(addr);
  row->addWidget(spin);
  row->addStretch();
  return row;
}

const QStringList kDisabledEnabled{QStringLiteral("Disabled"), QStringLiteral("Enabled")};

// Stores a checked number; false when it was refused.
template <typename T>
bool take(T& target, const std::optional<T>& value) {
  if (value) target = *value;
  return value.has_value();
}

}  // namespace

CtrConfigForm::CtrConfigForm(AdminContext& context, QWidget* parent)
    : ConfigForm(context, QStringLiteral("CtrConfigForm"), parent) {
  buildControls();
  load();
  connect(typeCode_, &QComboBox::currentIndexChanged, this, &CtrConfigForm::onTypeCodeClick);
}

void CtrConfigForm::buildControls() {
  auto* left = new QVBoxLayout;
  left->addWidget(buildModuleFrame());
  left->addWidget(buildFilterFrame());
  auto* middle = new QVBoxLayout;
  middle->addWidget(buildCounterFrame());
  middle->addWidget(buildAlarmFrame());
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(middle);
  layout->addLayout(buttons);
}

QWidget* CtrConfigForm::buildModuleFrame() {
  auto* frame = namedFrame("Frame7", QStringLiteral("Module"), this);
  typeCode_ = namedList(QStringLiteral("TypeCode"),
                        {QStringLiteral("Counter"), QStringLiteral("Frequency")}, frame);
  freqGateTime_ = namedList(QStringLiteral("FreqGateTime"),
                            {QStringLiteral("0.1 second"), QStringLiteral("1 second")}, frame);
  freqGateTimeLabel_ =
      namedLabel(QStringLiteral("Label3"), QStringLiteral("Freq gate time:"), frame);
  inputMode_ = namedList(QStringLiteral("InputMode"),
                         {QStringLiteral("TTL"), QStringLiteral("Photo Isolated")}, frame);
  baudRate_ = makeBaudRateList(frame);
  checksum_ = makeChecksumList(frame);
  auto* form = new QFormLayout(frame);
  form->addRow(QStringLiteral("Module:"), moduleName_);
  form->addRow(QStringLiteral("Address (Dec):"), addressRow(addr_, addressSpin_));
  form->addRow(QStringLiteral("Type:"), typeCode_);
  form->addRow(freqGateTimeLabel_, freqGateTime_);
  form->addRow(QStringLiteral("Input mode:"), inputMode_);
  form->addRow(QStringLiteral("Baud rate:"), baudRate_);
  form->addRow(QStringLiteral("Checksum:"), checksum_);
  return frame;
}

QLabel* CtrConfigForm::counterLabel(const char* name, const char* text, QWidget* parent) {
  auto* label = namedLabel(QString::fromLatin1(name), QString::fromLatin1(text), parent);
  counterLabels_.push_back(label);
  return label;
}

QLineEdit* CtrConfigForm::numberField(const QString& name, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(name);
  return field;
}

QWidget* CtrConfigForm::buildCounterFrame() {
  auto* frame = namedFrame("Frame9", QStringLiteral("Counter"), this);
  gateMode_ =
      namedList(QStringLiteral("GateMode"),
                {QStringLiteral("Low"), QStringLiteral("High"), QStringLiteral("Disabled")}, frame);
  auto* gate = new QFormLayout;
  gate->addRow(counterLabel("Label11", "Gate mode:", frame), gateMode_);
  auto* layout = new QVBoxLayout(frame);
  layout->addLayout(gate);
  counterControls_ = {frame, gateMode_};
  const std::array<std::array<const char*, 3>, 2> labels{
      {{"Label22", "Label12", "Label13"}, {"Label23", "Label15", "Label14"}}};
  for (int n = 0; n < 2; ++n) {
    const auto i = static_cast<std::size_t>(n);
    auto* counter =
        namedFrame(n == 0 ? "Frame1" : "Frame2", QStringLiteral("Counter %1").arg(n), frame);
    counterStatus_[i] = namedList(indexedName(QStringLiteral("CounterStatus"), n),
                                  {QStringLiteral("Stop"), QStringLiteral("Start")}, counter);
    initialValue_[i] = numberField(indexedName(QStringLiteral("InitialValue"), n), counter);
    maxValue_[i] = numberField(indexedName(QStringLiteral("MaxValue"), n), counter);
    auto* form = new QFormLayout(counter);
    form->addRow(counterLabel(labels[i][0], "Status:", counter), counterStatus_[i]);
    form->addRow(counterLabel(labels[i][1], "Initial value (Dec):", counter), initialValue_[i]);
    form->addRow(counterLabel(labels[i][2], "Max value (Dec):", counter), maxValue_[i]);
    layout->addWidget(counter);
    counterControls_.insert(counterControls_.end(),
                            {counter, counterStatus_[i], initialValue_[i], maxValue_[i]});
  }
  return frame;
}

QWidget* CtrConfigForm::buildAlarmFrame() {
  auto* frame = namedFrame("Frame10", QStringLiteral("Alarm"), this);
  auto* layout = new QHBoxLayout(frame);
  counterControls_.push_back(frame);
  const std::array<std::array<const char*, 2>, 2> labels{
      {{"Label6", "Label7"}, {"Label8", "Label21"}}};
  for (int n = 0; n < 2; ++n) {
    const auto i = static_cast<std::size_t>(n);
    auto* counter =
        namedFrame(n == 0 ? "Frame5" : "Frame6", QStringLiteral("Counter %1").arg(n), frame);
    alarmSetting_[i] =
        namedList(indexedName(QStringLiteral("AlarmSetting"), n), kDisabledEnabled, counter);
    alarmValue_[i] = numberField(indexedName(QStringLiteral("AlarmValue"), n), counter);
    auto* form = new QFormLayout(counter);
    form->addRow(counterLabel(labels[i][0], "Alarm setting:", counter), alarmSetting_[i]);
    form->addRow(counterLabel(labels[i][1], "Alarm value (Dec):", counter), alarmValue_[i]);
    layout->addWidget(counter);
    counterControls_.insert(counterControls_.end(), {counter, alarmSetting_[i], alarmValue_[i]});
  }
  return frame;
}

QWidget* CtrConfigForm::buildFilterFrame() {
  // "&&" shows as one ampersand in a frame's title.
  auto* frame = namedFrame("Frame8", QStringLiteral("Filter && threshold"), this);
  digitalFilter_ = namedList(QStringLiteral("DigitalFilter"), kDisabledEnabled, frame);
  auto* widths = namedFrame("Frame4", QStringLiteral("Min input signal width"), frame);
  minAtHigh_ = numberField(QStringLiteral("MinAtHigh"), widths);
  minAtLow_ = numberField(QStringLiteral("MinAtLow"), widths);
  auto* widthForm = new QFormLayout(widths);
  widthForm->addRow(QStringLiteral("High level (usec):"), minAtHigh_);
  widthForm->addRow(QStringLiteral("Low level (usec):"), minAtLow_);
  auto* ttl = namedFrame("Frame3", QStringLiteral("TTL input"), frame);
  ttlAtHigh_ = numberField(QStringLiteral("TTLAtHigh"), ttl);
  ttlAtLow_ = numberField(QStringLiteral("TTLAtLow"), ttl);
  auto* ttlForm = new QFormLayout(ttl);
  ttlForm->addRow(QStringLiteral("High trigger level (V):"), ttlAtHigh_);
  ttlForm->addRow(QStringLiteral("Low trigger level (V):"), ttlAtLow_);
  auto* filter = new QFormLayout;
  filter->addRow(QStringLiteral("Digital filter:"), digitalFilter_);
  auto* layout = new QVBoxLayout(frame);
  layout->addLayout(filter);
  layout->addWidget(widths);
  layout->addWidget(ttl);
  return frame;
}

void CtrConfigForm::load() {
  const ModuleEntry& e = entry();
  applyLinkEnabling({baudRate_, checksum_});
  showLayout(e.TypeCode == kCounterType);
  select(*typeCode_, e.TypeCode - kCounterType);
  select(*freqGateTime_, e.GateTimeCode);
  select(*inputMode_, e.InputModeCode);
  select(*baudRate_, e.BaudCode);
  select(*checksum_, e.ChecksumFlag);
  select(*gateMode_, e.GateModeCode);
  for (std::size_t n = 0; n < 2; ++n) {
    select(*counterStatus_[n], e.CounterRunning[n]);
    initialValue_[n]->setText(shownCount(e.InitialCount[n]));
    maxValue_[n]->setText(shownCount(e.MaxCount[n]));
    select(*alarmSetting_[n], e.AlarmEnabled[n]);
    alarmValue_[n]->setText(shownCount(e.AlarmLimit[n]));
  }
  select(*digitalFilter_, e.FilterEnabled);
  minAtHigh_->setText(QString::number(e.MinWidthHigh));
  minAtLow_->setText(QString::number(e.MinWidthLow));
  ttlAtHigh_->setText(shown(e.TtlLevelHigh / 10.0));
  ttlAtLow_->setText(shown(e.TtlLevelLow / 10.0));
}

QString CtrConfigForm::shownCount(double count) const {
  return QString::fromStdString(countText(count))
      .replace(QLatin1Char('.'), QLatin1Char(context().DecimalSeparator));
}

void CtrConfigForm::onTypeCodeClick() { showLayout(typeCode_->currentIndex() == 0); }

// The labels stay enabled: grey or black is their colour alone.
void CtrConfigForm::showLayout(bool counter) {
  const auto paint = [](QLabel* label, bool inUse) {
    setTextTone(*label, inUse ? TextTone::Black : TextTone::Grey, ToneBy::Palette);
  };
  freqGateTime_->setEnabled(!counter);
  paint(freqGateTimeLabel_, !counter);
  for (QWidget* control : counterControls_) control->setEnabled(counter);
  for (QLabel* label : counterLabels_) paint(label, counter);
}

// An entry at a TypeCode the list does not offer keeps its code and, like
// its layout, counts as frequency mode.
bool CtrConfigForm::counterMode() const {
  return chosen(*typeCode_, entry().TypeCode - kCounterType) == 0;
}

void CtrConfigForm::applyChanges() {
  const auto address = newAddress();
  if (!address) return;
  // Frequency mode sends no counter, filter, width or level setting, so
  // those fields are not checked either.
  const bool counter = counterMode();
  const std::optional<TypedNumbers> typed = counter ? typedNumbers() : std::nullopt;
  if (counter && !typed) return;
  applyModuleSettings(*address);
  ModuleEntry& e = entry();
  const int inputMode = chosen(*inputMode_, e.InputModeCode);
  applySetting(e.InputModeCode, inputMode, inputModeCommand(inputMode),
               "Input Mode Setting command failed.");
  if (typed) {
    applyCounterSettings(*typed);
    applyFilterAndAlarmSettings(*typed);
  }
  finish();
}

std::optional<CtrConfigForm::TypedNumbers> CtrConfigForm::typedNumbers() {
  TypedNumbers t;
  for (std::size_t n = 0; n < 2; ++n)
    if (!take(t.maxCount[n], typedCount(*maxValue_[n]))) return std::nullopt;
  for (std::size_t n = 0; n < 2; ++n)
    if (!take(t.initialCount[n], typedCount(*initialValue_[n]))) return std::nullopt;
  if (!take(t.minWidthHigh, typedWidth(*minAtHigh_)) ||
      !take(t.minWidthLow, typedWidth(*minAtLow_)) || !take(t.ttlHigh, typedLevel(*ttlAtHigh_)) ||
      !take(t.ttlLow, typedLevel(*ttlAtLow_)))
    return std::nullopt;
  for (std::size_t n = 0; n < 2; ++n)
    if (!take(t.alarmLimit[n], typedCount(*alarmValue_[n]))) return std::nullopt;
  return t;
}

std::optional<CtrConfigForm::TypedCount> CtrConfigForm::typedCount(QLineEdit& field) {
  const auto value = typedValue(field, 0, kNoLimit);
  if (!value) return std::nullopt;
  const auto count = countOf(*value);
  if (!count) {
    refuseField(field, QStringLiteral("Number can not exceed 4294967295."));
    return std::nullopt;
  }
  return TypedCount{*value, *count};
}

std::optional<int> CtrConfigForm::typedWidth(QLineEdit& field) {
  const auto value = typedValue(field, 0, kNoLimit);
  if (!value) return std::nullopt;
  const auto width = widthOf(*value);
  if (!width) refuseField(field, QStringLiteral("Number can not exceed 9999."));
  return width;
}

std::optional<int> CtrConfigForm::typedLevel(QLineEdit& field) {
  const auto value = typedValue(field, 0, 9.9);
  return value ? ttlLevelOf(*value) : std::nullopt;
}

void CtrConfigForm::refuseField(QLineEdit& field, const QString& text) {
  showError(text);
  field.setFocus();
  field.selectAll();
}

void CtrConfigForm::applyModuleSettings(int address) {
  ModuleEntry& e = entry();
  const int typeCode = chosen(*typeCode_, e.TypeCode - kCounterType) + kCounterType;
  const int gateTime = chosen(*freqGateTime_, e.GateTimeCode);
  const StandardSettings wanted{address, typeCode, chosen(*baudRate_, e.BaudCode),
                                chosen(*checksum_, e.ChecksumFlag), gateTimeBits(gateTime)};
  if (!applyStandardSettings(wanted, typeCode != e.TypeCode || gateTime != e.GateTimeCode,
                             QStringLiteral("Module Configuration command failed.")))
    return;
  e.TypeCode = typeCode;
  e.GateTimeCode = gateTime;
}

void CtrConfigForm::applyCounterSettings(const TypedNumbers& typed) {
  ModuleEntry& e = entry();
  const int gateMode = chosen(*gateMode_, e.GateModeCode);
  applySetting(e.GateModeCode, gateMode, gateModeCommand(gateMode),
               "Gate Mode Setting command failed.");
  for (std::size_t n = 0; n < 2; ++n) {
    const int running = chosen(*counterStatus_[n], e.CounterRunning[n]);
    applySetting(e.CounterRunning[n], running, counterStatusCommand(static_cast<int>(n), running),
                 "Start/Stop Counter command failed.");
  }
  for (std::size_t n = 0; n < 2; ++n)
    applyCount(e.MaxCount[n], typed.maxCount[n],
               maxCountCommand(static_cast<int>(n), typed.maxCount[n].count),
               "Max Counter Value Setting command failed.");
  for (std::size_t n = 0; n < 2; ++n)
    applyCount(e.InitialCount[n], typed.initialCount[n],
               initialCountCommand(static_cast<int>(n), typed.initialCount[n].count),
               "Initial Count Value Setting command failed.");
}

void CtrConfigForm::applyFilterAndAlarmSettings(const TypedNumbers& typed) {
  ModuleEntry& e = entry();
  const int filter = chosen(*digitalFilter_, e.FilterEnabled);
  applySetting(e.FilterEnabled, filter, filterCommand(filter),
               "Digital Filter Enable/Disable command failed.");
  applySetting(e.MinWidthHigh, typed.minWidthHigh, minWidthCommand(true, typed.minWidthHigh),
               "Min Input Signal Width at High Level Setting command failed.");
  applySetting(e.MinWidthLow, typed.minWidthLow, minWidthCommand(false, typed.minWidthLow),
               "Min Input Signal Width at Low Level Setting command failed.");
  applySetting(e.TtlLevelHigh, typed.ttlHigh, ttlLevelCommand(true, typed.ttlHigh),
               "TTL Input High Trigger Level Setting command failed.");
  applySetting(e.TtlLevelLow, typed.ttlLow, ttlLevelCommand(false, typed.ttlLow),
               "TTL Input Low Trigger Level Setting command failed.");
  for (std::size_t n = 0; n < 2; ++n) {
    const int alarm = chosen(*alarmSetting_[n], e.AlarmEnabled[n]);
    applySetting(e.AlarmEnabled[n], alarm, alarmSwitchCommand(static_cast<int>(n), alarm == 1),
                 "Alarm Enable/Disable command failed.");
  }
  for (std::size_t n = 0; n < 2; ++n)
    applyCount(e.AlarmLimit[n], typed.alarmLimit[n],
               alarmLimitCommand(static_cast<int>(n), typed.alarmLimit[n].count),
               "Alarm Limit Value Setting command failed.");
}

void CtrConfigForm::applySetting(int& field, int value, const CtrCommand& command,
                                 const char* failure) {
  if (value != field && sendSetting(command, failure)) field = value;
}

void CtrConfigForm::applyCount(double& field, const TypedCount& value, const CtrCommand& command,
                               const char* failure) {
  if (static_cast<double>(value.count) != std::trunc(field) && sendSetting(command, failure))
    field = value.typed;
}

// A setting is confirmed by "!" and the address the module answers at.
bool CtrConfigForm::sendSetting(const CtrCommand& command, const char* failure) {
  const bool confirmed = send(command.lead, command.body) &&
                         configurationConfirmed(context().LastExchangeOK, context().LastReply,
                                                effectiveAddress(context(), entryIndex()));
  if (confirmed)
    changed();
  else
    showError(QString::fromLatin1(failure));
  return confirmed;
}

}  // namespace orvane::admin
