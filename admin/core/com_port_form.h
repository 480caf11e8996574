// The COM Port dialog: the port to use, its parity, data and stop bits, the
// baud rates the search tries and the reply time-out. Nothing is written to
// COM.CFG here; exit writes it. Each COM option shows the device ports.conf
// names for it, and Devices... chooses them.
#pragma once

#include <QDialog>
#include <array>

#include "serial/device_discovery.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace orvane::admin {

class AdminContext;

class ComPortForm : public QDialog {
  Q_OBJECT

 public:
  // The devices are described from the given /sys and /dev.
  ComPortForm(AdminContext& context, QWidget* parent = nullptr, serial::DeviceRoots roots = {});

 private slots:
  void onOKBtnClicked();
  void onDevicesBtnClicked();
  void onDataBitSpinUp();
  void onDataBitSpinDown();

 private:
  void buildControls();
  void load();
  void showDevices();
  int checkedComOption() const;
  // Checks the two number fields; a refusal has been shown when false.
  bool numbersValid();
  void applyPortChoice();

  AdminContext& context_;
  serial::DeviceRoots roots_;
  std::array<QRadioButton*, 8> comOption_{};
  std::array<QLabel*, 8> comDevice_{};
  std::array<QRadioButton*, 3> parityOption_{};
  std::array<QCheckBox*, 8> baudCheck_{};
  QLineEdit* dataBits_ = nullptr;
  QComboBox* stopBits_ = nullptr;
  QLineEdit* timeout_ = nullptr;
};

}  // namespace orvane::admin
