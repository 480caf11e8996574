// The live test window of the analog output model 7342: a bar moves the
// output across its range; every position where the bar settles is written
// to the module at once, in the module's data format. Opening the window
// puts the output at the low end of its range.
#pragma once

#include <array>

#include "admin/diag/diag_form.h"

class QScrollBar;

namespace orvane::admin {

class DaDiagForm : public DiagForm {
  Q_OBJECT

 public:
  DaDiagForm(AdminContext& context, QWidget* parent = nullptr);

 private:
  void buildControls();
  void load();
  void showPosition(int position);
  void settle(int position);
  QString userNumber(const std::string& text) const;

  QScrollBar* daScroll_;
  QLabel* lowRange_;
  QLabel* highRange_;
  QLabel* daData_;
  std::array<QLabel*, 2> dataFormat_{};
};

}  // namespace orvane::admin
