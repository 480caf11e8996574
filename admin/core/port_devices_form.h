// The Devices dialog of the COM Port dialog: which device each of COM1 to
// COM8 is, chosen from the serial devices found on the machine, typed as
// any path (a simulator link, a socat bridge) or named as a line on a
// device server (Network line…, or a URL typed into the field). OK writes
// ports.conf, refusing a URL that is not well formed; Cancel leaves it
// alone. The lists follow devices plugged in or pulled out while the dialog
// is open.
#pragma once

#include <QDialog>
#include <QFileSystemWatcher>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <array>
#include <vector>

#include "serial/device_discovery.h"

class QComboBox;
class QLabel;

namespace orvane::admin {

class AdminContext;

inline const QString kNoPermissionText =
    QStringLiteral("no permission — add your user to the dialout group, then log in again");

// "/dev/ttyUSB0, FTDI FT232R USB UART": the path, and the adapter's name when
// the path leads to a USB adapter.
QString comDeviceText(const serial::SerialDevice& device);
// "COM1 — /dev/ttyUSB0, FTDI FT232R USB UART".
QString comOptionText(int com, const serial::SerialDevice& device);
// What is known about the device beyond its path: where a link leads, the
// adapter and its serial number, a UART, "not found", and the permission
// note when the user may not open it; for a URL, the kind of network line
// or what is wrong with the URL.
QString deviceDetails(const serial::SerialDevice& device);
// One entry of the device lists: the path and its details.
QString deviceListText(const serial::SerialDevice& device);

class PortDevicesForm : public QDialog {
  Q_OBJECT

 public:
  // Throws serial::SerialError when ports.conf cannot be read (a FIFO, a
  // device, too large): there is nothing to show, and OK could not keep the
  // lines it does not change.
  PortDevicesForm(AdminContext& context, serial::DeviceRoots roots = {},
                  serial::AccessCheck mayOpen = serial::userMayOpen, QWidget* parent = nullptr);

 private slots:
  void onOKBtnClicked();
  void onNetworkLineBtnClicked();
  void onWatcherDirectoryChanged();
  void onRescanTimeout();

 private:
  void buildControls();
  void load();
  void watchDeviceFolders();
  void fillLists();
  void showNote(int com);
  // The COM port whose field has the focus; COM1 when none has.
  int focusedCom() const;
  QComboBox* device(int com) const { return device_[static_cast<std::size_t>(com - 1)]; }

  AdminContext& context_;
  serial::DeviceRoots roots_;
  serial::AccessCheck mayOpen_;
  std::array<QComboBox*, 8> device_{};
  std::array<QLabel*, 8> deviceNote_{};
  // The paths ports.conf named when the dialog opened; listed even when no
  // discovery finds them (a simulator link lives outside /dev).
  std::vector<std::string> configured_;
  QStringList listed_;
  QFileSystemWatcher watcher_;
  // Plugging in an adapter changes /dev several times within milliseconds
  // (the node, its group, the by-id link): one scan after they settled.
  QTimer rescan_;
};

}  // namespace orvane::admin
