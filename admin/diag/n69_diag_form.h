// The live test window of the 7469: ports A, B, CH and CL marked as input or
// output as the module is configured, the inputs and the four isolated
// inputs polled ten times a second, and the output bits switched by a click.
// Opening the window switches every output of the module off.
#pragma once

#include <array>
#include <vector>

#include "admin/diag/diag_form.h"
#include "admin/diag/n69_diag_decode.h"

class QGroupBox;

namespace orvane::admin {

class Lamp;

class N69DiagForm : public DiagForm {
  Q_OBJECT

 public:
  N69DiagForm(AdminContext& context, QWidget* parent = nullptr);

 private:
  void readDirections();
  QGroupBox* lampFrame(const QString& name, const QString& title, const QString& lampName,
                       int count, bool clickable, std::vector<Lamp*>& lamps);
  QGroupBox* portFrame(int group);
  void buildControls();
  LinkTask<void> tick() override;
  void onBitClick(int group, int n);
  bool isInput(int group) const { return n69IsInput(directions_, group); }

  int directions_ = 0;  // Direction(0..3) as bits 3..0; every port an output until read
  bool directionsRead_ = false;
  std::array<std::vector<Lamp*>, kN69Groups> portBits_;  // Abit, Bbit, CHbit, CLbit
  std::vector<Lamp*> isolatedBits_;                      // Ibit
  std::array<unsigned, 3> portState_{};                  // PortA, PortB, PortC as taken
};

}  // namespace orvane::admin
