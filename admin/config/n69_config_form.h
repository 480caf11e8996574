// The configuration dialog of the digital I/O module 7469: address, baud
// rate, checksum, and whether each of its ports A, B, CH and CL is an input
// or an output.
#pragma once

#include <array>

#include "admin/config/config_form.h"

class QCheckBox;
class QRadioButton;

namespace orvane::admin {

class N69ConfigForm : public ConfigForm {
  Q_OBJECT

 public:
  N69ConfigForm(AdminContext& context, QWidget* parent = nullptr);

 private:
  void buildControls();
  QWidget* buildPortRows();
  void load();
  void readPortDirections();
  void applyChanges() override;
  void applyModuleSettings(int address);
  void applyPortDirections();

  QComboBox* baudRate_;
  QCheckBox* checksumBox_;
  std::array<QRadioButton*, 4> input_{};
  std::array<QRadioButton*, 4> output_{};
};

}  // namespace orvane::admin
