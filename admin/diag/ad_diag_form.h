// The live test window of the analog input modules 7226, 7231 and 7234:
// every enabled channel polled ten times a second, shown in engineering
// units and drawn as a 60 s trend, which Save… writes as a CSV file; the
// open-input status of a 7234.
#pragma once

#include <array>

#include "admin/diag/diag_form.h"

namespace orvane::admin {

class TrendPlot;

class AdDiagForm : public DiagForm {
  Q_OBJECT

 public:
  AdDiagForm(AdminContext& context, QWidget* parent = nullptr);

 private slots:
  void onSaveBtnClicked();

 private:
  void buildControls();
  void load();
  LinkTask<void> tick() override;

  std::array<QLabel*, 8> reading_{};
  std::array<QLabel*, 8> formatText_{};
  std::array<QLabel*, 8> channelName_{};
  QLabel* openStatusLabel_;
  QLabel* openStatus_;
  TrendPlot* trend_;
  std::array<bool, 8> enabled_{};
  int channelCount_ = 0;
};

}  // namespace orvane::admin
