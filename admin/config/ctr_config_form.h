// The configuration dialog of the counter/frequency module 7586: address,
// counter or frequency mode, gate time, input mode, baud rate and checksum;
// in counter mode the gate mode, each counter's status, maximum and initial
// count and alarm; the digital filter with its minimum signal widths and the
// TTL trigger levels. OK sends one command per changed setting.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "admin/config/config_form.h"

namespace orvane::admin {

struct CtrCommand;

class CtrConfigForm : public ConfigForm {
  Q_OBJECT

 public:
  CtrConfigForm(AdminContext& context, QWidget* parent = nullptr);

 private slots:
  void onTypeCodeClick();

 private:
  // A count as typed, and the integer that is compared and sent.
  struct TypedCount {
    double typed = 0;
    std::uint32_t count = 0;
  };
  // Every number of a counter-mode OK, checked before anything is sent.
  struct TypedNumbers {
    std::array<TypedCount, 2> maxCount, initialCount, alarmLimit;
    int minWidthHigh = 0, minWidthLow = 0, ttlHigh = 0, ttlLow = 0;
  };

  void buildControls();
  QWidget* buildModuleFrame();
  QWidget* buildCounterFrame();
  QWidget* buildAlarmFrame();
  QWidget* buildFilterFrame();
  QLabel* counterLabel(const char* name, const char* text, QWidget* parent);
  QLineEdit* numberField(const QString& name, QWidget* parent);
  void load();
  void showLayout(bool counter);
  QString shownCount(double count) const;
  bool counterMode() const;

  void applyChanges() override;
  std::optional<TypedNumbers> typedNumbers();
  std::optional<TypedCount> typedCount(QLineEdit& field);
  std::optional<int> typedWidth(QLineEdit& field);
  std::optional<int> typedLevel(QLineEdit& field);
  void refuseField(QLineEdit& field, const QString& text);
  void applyModuleSettings(int address);
  void applyCounterSettings(const TypedNumbers& typed);
  void applyFilterAndAlarmSettings(const TypedNumbers& typed);
  void applySetting(int& field, int value, const CtrCommand& command, const char* failure);
  void applyCount(double& field, const TypedCount& value, const CtrCommand& command,
                  const char* failure);
  bool sendSetting(const CtrCommand& command, const char* failure);

  QComboBox* typeCode_;
  QComboBox* freqGateTime_;
  QLabel* freqGateTimeLabel_;
  QComboBox* inputMode_;
  QComboBox* baudRate_;
  QComboBox* checksum_;
  QComboBox* gateMode_;
  std::array<QComboBox*, 2> counterStatus_{};
  std::array<QLineEdit*, 2> initialValue_{};
  std::array<QLineEdit*, 2> maxValue_{};
  std::array<QComboBox*, 2> alarmSetting_{};
  std::array<QLineEdit*, 2> alarmValue_{};
  QComboBox* digitalFilter_;
  QLineEdit* minAtHigh_;
  QLineEdit* minAtLow_;
  QLineEdit* ttlAtHigh_;
  QLineEdit* ttlAtLow_;
  // What only counter mode uses: enabled in the counter layout, disabled in
  // the frequency layout.
  std::vector<QWidget*> counterControls_;
  std::vector<QLabel*> counterLabels_;
};

}  // namespace orvane::admin
