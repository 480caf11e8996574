// The configuration dialog of the converters 7912 and 7917: address,
// checksum, addressing mode, network interface, appended CR, the baud rates
// of both sides and the RS-232 character format, all in one command.
#pragma once

#include "admin/config/config_form.h"
#include "admin/config/n7912_config_commands.h"

namespace orvane::admin {

class N7912ConfigForm : public ConfigForm {
  Q_OBJECT

 public:
  N7912ConfigForm(AdminContext& context, QWidget* parent = nullptr);

 private:
  void buildControls();
  QWidget* buildModuleFrame();
  QWidget* buildBaudFrame();
  QWidget* buildRs232Frame();
  void load();
  void applyChanges() override;
  ConverterSettings chosenSettings(int address) const;

  QComboBox* checksum_;
  QComboBox* addressable_;
  QComboBox* interface_;
  QComboBox* appendCR_;
  QComboBox* rs232Baud_;
  QComboBox* baudRate_;
  QComboBox* parity_;
  QComboBox* dataBits_;
  QComboBox* stopBits_;
};

}  // namespace orvane::admin
