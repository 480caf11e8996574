// The live test window of the digital I/O modules other than the 7469: the
// input bits as lamps polled ten times a second, and the output bits as
// lamps the user clicks to switch one output at a time. Opening the window
// switches every output of the module off.
#pragma once

#include <array>
#include <string>

#include "admin/diag/diag_form.h"

class QGroupBox;

namespace orvane::admin {

class Lamp;

class DioDiagForm : public DiagForm {
  Q_OBJECT

 public:
  DioDiagForm(AdminContext& context, QWidget* parent = nullptr);

 private:
  // A frame of 16 lamps with their bit numbers below them.
  struct BitFrame {
    QGroupBox* frame = nullptr;
    std::array<Lamp*, 16> lamps{};
    std::array<QLabel*, 16> numbers{};
    void show(int bits) const;
  };
  BitFrame bitFrame(const QString& name, const QString& title, const QString& lampName,
                    const QString& numberName, bool clickable);
  void buildControls();
  void load();
  LinkTask<void> tick() override;
  void onOutputBitClick(int n);

  std::string key_;
  BitFrame inputs_;        // Frame1: InputBit, Label_di
  BitFrame outputs_;       // Frame2: OutputBit, Label_do
  unsigned outState_ = 0;  // bit n: output n as the module last took it
};

}  // namespace orvane::admin
