// The live test window of the counter/frequency module 7586 in frequency
// mode: the value of each of its two channels polled ten times a second and
// shown in decimal. Nothing is written to the module.
#pragma once

#include <array>

#include "admin/diag/diag_form.h"

namespace orvane::admin {

class FreqDiagForm : public DiagForm {
  Q_OBJECT

 public:
  FreqDiagForm(AdminContext& context, QWidget* parent = nullptr);

 private:
  void buildControls();
  LinkTask<void> tick() override;

  std::array<QLabel*, 2> counter_{};  // Counter(0), Counter(1)
};

}  // namespace orvane::admin
