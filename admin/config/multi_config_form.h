// The configuration dialog of the multi-function modules 7213, 7215 and
// 7228: address, input range, data format, baud rate, checksum, the alarm
// mode and limits, and on 7228 the linear mapping of the reading.
#pragma once

#include <array>
#include <optional>

#include "admin/config/config_form.h"

class QGroupBox;

namespace orvane::admin {

class MultiConfigForm : public ConfigForm {
  Q_OBJECT

 public:
  MultiConfigForm(AdminContext& context, QWidget* parent = nullptr);

 private:
  // The number fields in the order the user meets them.
  enum Number { High, Low, SourceLow, SourceHigh, TargetLow, TargetHigh, NumberCount };
  using Numbers = std::array<double, NumberCount>;

  QGroupBox* buildModuleFrame();
  QGroupBox* buildAlarmFrame();
  QGroupBox* buildMappingFrame();
  QLineEdit* numberField(const char* name, QWidget* parent);
  void load();
  void applyChanges() override;
  std::optional<Numbers> typedNumbers();
  bool goesOut(const Numbers& typed, Number n) const;
  float& entryValue(Number n) const;
  void refuseUncut(QLineEdit& field, int typeCode);
  void applyModuleSettings(int address);
  void applyAlarmMode();
  void applyLimit(const Numbers& typed, Number n, const char* head, const QString& failure);
  void applyMappingEnabling();
  void applyRange(const Numbers& typed, Number low, const char* head, const QString& failure);

  QComboBox* inputRange_;
  QComboBox* dataFormat_;
  QComboBox* baudRate_;
  QComboBox* checksum_;
  QComboBox* alarmSetting_;
  QComboBox* mappingCombo_;
  QGroupBox* mappingFrame_;
  std::array<QLineEdit*, NumberCount> numbers_{};
  std::array<QLabel*, 2> formatText_{};
  bool mapping_ = false;  // the model maps its reading (7228)
};

}  // namespace orvane::admin
