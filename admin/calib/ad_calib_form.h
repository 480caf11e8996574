// The calibration window of the analog input and multi-function modules:
// step 1 warm-up, step 2 the choice of offset, span or (7213, 7234) cold
// junction, step 3 the reference to apply and Execute, as often as the user
// likes. Exit closes from any step and sends nothing.
#pragma once

#include <optional>
#include <string>

#include "admin/calib/ad_calib_commands.h"
#include "admin/calib/calib_form.h"

class QLineEdit;

namespace orvane::admin {

class AdCalibForm : public CalibForm {
  Q_OBJECT

 public:
  AdCalibForm(AdminContext& context, QWidget* parent = nullptr);

 private slots:
  void onOffsetBtnClicked();
  void onSpanBtnClicked();
  void onCJCBtnClicked();
  void onBackBtnClicked();
  void onNextBtnClicked();

 private:
  void buildControls();
  void load();
  void showStep();
  void choose(CalibrationKind kind);
  void execute();
  void executeColdJunction();
  // "$AA3" into Temperature; nullopt when the read failed.
  std::optional<float> readTemperature();

  std::string familyKey_;
  int step_ = 1;
  CalibrationKind kind_ = CalibrationKind::Offset;
  QLabel* rangeText_;
  QLabel* reading_;
  QWidget* coldJunction_;  // CJCLabel, Temperature, CJCInputLabel, CJCInput, DegreeLabel
  QLabel* temperature_;
  QLineEdit* cjcInput_;
  QPushButton* offsetButton_;
  QPushButton* spanButton_;
  QPushButton* cjcButton_;
};

}  // namespace orvane::admin
