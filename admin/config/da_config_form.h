// The configuration dialog of the analog output modules 7342 and 7347:
// address, output range, data format, baud rate, checksum and, for 7347, the
// polarity of its digital inputs.
#pragma once

#include "admin/config/config_form.h"

namespace orvane::admin {

class DaConfigForm : public ConfigForm {
  Q_OBJECT

 public:
  DaConfigForm(AdminContext& context, QWidget* parent = nullptr);

 private:
  void buildControls();
  void load();
  void applyChanges() override;
  void applyModuleSettings(int address);
  void applyInputPolarity();

  bool hasInputs_;
  QComboBox* outputRange_;
  QComboBox* dataFormat_;
  QComboBox* baudRate_;
  QComboBox* checksum_;
  QComboBox* inputPolarity_;
};

}  // namespace orvane::admin
