// The live test window of model 7347: four bars drive the +/-10 V outputs A
// to D, each settled position written at once; the seven digital inputs are
// polled ten times a second. Opening the window puts every output at 0 V.
#pragma once

#include <array>

#include "admin/diag/diag_form.h"
#include "admin/diag/n47_diag_commands.h"

class QGroupBox;
class QScrollBar;

namespace orvane::admin {

class Lamp;

class N47DiagForm : public DiagForm {
  Q_OBJECT

 public:
  N47DiagForm(AdminContext& context, QWidget* parent = nullptr);

 private:
  QGroupBox* outputFrame(int output);
  QGroupBox* inputFrame();
  void load();
  LinkTask<void> tick() override;
  void showPosition(int output, int position);
  void settle(int output, int position);

  std::array<QScrollBar*, kN47Outputs> daScroll_{};
  std::array<QLabel*, kN47Outputs> daData_{};
  std::array<Lamp*, kN47Inputs> inputBit_{};
};

}  // namespace orvane::admin
