// The live test window of the multi-function modules 7213, 7215 and 7228:
// the analog reading in engineering units with its 60 s trend and the alarm
// limits (Save… writes the trend as a CSV file), the digital input and its event counter, and the
// two outputs, which the user switches by hand while the alarm is disabled.
#pragma once

#include <array>

#include "admin/diag/diag_form.h"

namespace orvane::admin {

class Lamp;
class TrendPlot;

class MultiDiagForm : public DiagForm {
  Q_OBJECT

 public:
  MultiDiagForm(AdminContext& context, QWidget* parent = nullptr);

 private slots:
  void onClearEventCounterBtnClicked();
  void onClearLatchAlarmBtnClicked();
  void onSaveBtnClicked();

 private:
  QLayout* readingRows();
  QWidget* inputFrame();
  QWidget* outputFrame();
  void buildControls();
  void load();
  void showAlarmSetting();
  LinkTask<void> tick() override;
  void onDoStatusClick(int output);

  QLabel* reading_;
  QLabel* formatText_;
  QLabel* alarmSetting_;
  QLabel* highAlarm_;
  QLabel* lowAlarm_;
  std::array<QLabel*, 2> alarmFormat_{};
  QLabel* di_;
  QLabel* counter_;
  std::array<Lamp*, 2> doStatus_{};
  QLabel* lowAlarmSign_;
  QLabel* highAlarmSign_;
  TrendPlot* trend_;
  unsigned outState_ = 0;  // OutState: bit 0 output 0, bit 1 output 1
};

}  // namespace orvane::admin
