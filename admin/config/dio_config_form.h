// The configuration dialog of the digital I/O modules other than 7469:
// address, baud rate, checksum and the polarity of inputs and outputs.
#pragma once

#include "admin/config/config_form.h"

class QCheckBox;

namespace orvane::admin {

class DioConfigForm : public ConfigForm {
  Q_OBJECT

 public:
  DioConfigForm(AdminContext& context, QWidget* parent = nullptr);

 private:
  void buildControls();
  void load();
  void applyChanges() override;
  void applyModuleSettings(int address);
  void applyPolarity();

  QComboBox* baudRate_;
  QCheckBox* checksum_;
  QComboBox* outputPolarity_;
  QComboBox* inputPolarity_;
};

}  // namespace orvane::admin
