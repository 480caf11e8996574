// The serial devices of this machine, found the way a user would look for
// them: the stable /dev/serial/by-id names of USB adapters first, then the
// plain nodes /dev/ttyUSB*, /dev/ttyACM* and the /dev/ttyS* that have a UART
// behind them. Reads /dev and /sys only, below roots the caller names, so
// the same code runs on a fake tree.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane::serial {

struct DeviceRoots {
  std::filesystem::path sys{"/sys"};
  std::filesystem::path dev{"/dev"};
};

// Whether this user may open a device node for reading and writing.
using AccessCheck = std::function<bool(const std::filesystem::path& node)>;

// access(R_OK | W_OK) on the node, as the real user.
bool userMayOpen(const std::filesystem::path& node);

// What the USB device above a tty tells about itself in sysfs; every field
// may be empty (cheap adapters leave the serial number out).
struct UsbAdapter {
  std::string vendorId;   // idVendor, "0403"
  std::string productId;  // idProduct, "6001"
  std::string manufacturer;
  std::string product;
  std::string serialNumber;
};

// "FTDI FT232R USB UART": manufacturer and product (the product alone when it
// already begins with the manufacturer), or "USB device 0403:6001" when the
// adapter names neither.
std::string adapterName(const UsbAdapter& adapter);

struct SerialDevice {
  // The path as a user writes it into ports.conf.
  std::filesystem::path path;
  // The device node the path is or leads to; empty when it leads nowhere.
  std::filesystem::path node;
  bool isLink = false;
  bool present = false;
  std::optional<UsbAdapter> usb;
  // A ttyS with a UART behind it.
  bool uart = false;
  bool mayOpen = false;
  // A line on a device server, named by a URL (see line_name.h): present and
  // open to everyone when the URL is well formed; whether the server answers
  // shows only when the line is opened.
  bool network = false;
};

std::vector<SerialDevice> discoverSerialDevices(const DeviceRoots& roots = {},
                                                const AccessCheck& mayOpen = userMayOpen);

// The same facts for any path (one ports.conf names, one the user typed): a
// missing path is not present; a link is followed; a node of the /dev root
// gets what sysfs knows about it. A URL is not looked for in the file system.
SerialDevice describeDevicePath(const std::filesystem::path& path, const DeviceRoots& roots = {},
                                const AccessCheck& mayOpen = userMayOpen);

}  // namespace orvane::serial
