// A fake /sys and /dev in a temporary directory, laid out as Linux lays out
// USB serial adapters, CDC-ACM devices and 8250 ports, for the device
// discovery and the windows that show its results. Plain files stand in for
// device nodes.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "serial/device_discovery.h"

namespace orvane::serial::testing {

class FakeDeviceTree {
 public:
  FakeDeviceTree() {
    char pattern[] = "/tmp/orvane-devices-XXXXXX";
    root_ = ::mkdtemp(pattern);
    std::filesystem::create_directories(sys() / "class" / "tty");
    std::filesystem::create_directories(dev());
  }
  ~FakeDeviceTree() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  FakeDeviceTree(const FakeDeviceTree&) = delete;
  FakeDeviceTree& operator=(const FakeDeviceTree&) = delete;

  std::filesystem::path sys() const { return root_ / "sys"; }
  std::filesystem::path dev() const { return root_ / "dev"; }
  DeviceRoots roots() const { return {sys(), dev()}; }

  std::filesystem::path addNode(const std::string& name) {
    const auto node = dev() / name;
    std::ofstream(node).put('\0');
    return node;
  }

  // A USB device directory (1-1, 1-2, ...) with its descriptor attributes,
  // and the tty below its first interface: below a usb-serial port
  // directory for ttyUSB, on the interface itself for ttyACM. Empty fields
  // leave the attribute out, as adapters without a serial number do.
  void addUsbTty(const std::string& tty, const std::string& usbDevice, const UsbAdapter& adapter) {
    const auto usb = sys() / "devices" / "pci0000:00" / "0000:00:14.0" / "usb1" / usbDevice;
    const auto interface = usb / (usbDevice + ":1.0");
    const auto device = tty.starts_with("ttyUSB") ? interface / tty : interface;
    std::filesystem::create_directories(device);
    attribute(usb / "idVendor", adapter.vendorId);
    attribute(usb / "idProduct", adapter.productId);
    attribute(usb / "manufacturer", adapter.manufacturer);
    attribute(usb / "product", adapter.product);
    attribute(usb / "serial", adapter.serialNumber);
    attribute(interface / "bInterfaceNumber", "00");
    ttyClass(tty, device);
  }

  // A ttyS of the 8250 driver; type nullopt leaves the attribute out.
  void addSerialTty(const std::string& tty, std::optional<std::string> type) {
    const auto device = sys() / "devices" / "platform" / "serial8250" / tty;
    std::filesystem::create_directories(device);
    ttyClass(tty, device);
    if (type) attribute(sys() / "class" / "tty" / tty / "type", *type);
  }

  // A tty that sysfs knows without a device (a virtual one).
  void addTtyWithoutDevice(const std::string& tty) {
    std::filesystem::create_directories(sys() / "class" / "tty" / tty);
  }

  std::filesystem::path addByIdLink(const std::string& name, const std::string& node) {
    const auto byId = dev() / "serial" / "by-id";
    std::filesystem::create_directories(byId);
    std::filesystem::create_symlink(std::filesystem::path("../..") / node, byId / name);
    return byId / name;
  }

 private:
  static void attribute(const std::filesystem::path& file, const std::string& value) {
    if (!value.empty()) std::ofstream(file) << value << '\n';
  }
  void ttyClass(const std::string& tty, const std::filesystem::path& device) {
    const auto dir = sys() / "class" / "tty" / tty;
    std::filesystem::create_directories(dir);
    std::filesystem::create_symlink(device, dir / "device");
  }

  std::filesystem::path root_;
};

inline UsbAdapter ftdiAdapter() { return {"0403", "6001", "FTDI", "FT232R USB UART", "A50285BI"}; }

}  // namespace orvane::serial::testing
