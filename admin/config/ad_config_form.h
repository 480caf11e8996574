// The configuration dialog of the analog input modules 7226, 7231 and 7234:
// address, input range, data format, baud rate, checksum and which input
// channels are enabled.
#pragma once

#include <array>

#include "admin/config/config_form.h"

class QRadioButton;

namespace orvane::admin {

class AdConfigForm : public ConfigForm {
  Q_OBJECT

 public:
  AdConfigForm(AdminContext& context, QWidget* parent = nullptr);

 private:
  void buildControls();
  void load();
  void applyChanges() override;
  void applyModuleSettings(int address);
  void applyChannelMask();
  bool channelRowsChanged() const;

  QComboBox* inputRange_;
  QComboBox* dataFormat_;
  QComboBox* baudRate_;
  QComboBox* checksum_;
  std::array<QRadioButton*, 8> enable_{};
  std::array<QRadioButton*, 8> disable_{};
  std::array<bool, 8> channels_{};  // as read at load
  bool channelsRead_ = false;
  int channelCount_ = 0;
};

}  // namespace orvane::admin
