#include "serial/device_discovery.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <string_view>
#include <utility>

#include "serial/line_name.h"

namespace orvane::serial {

namespace {

namespace fs = std::filesystem;

constexpr std::array<std::string_view, 3> kFamilies{"ttyUSB", "ttyACM", "ttyS"};
// The USB device directory lies a few levels above the tty's device (the
// usb-serial port, then the interface): a bounded walk up never strays far.
constexpr int kUsbSearchDepth = 6;

fs::path canonicalOrEmpty(const fs::path& path) {
  std::error_code ec;
  fs::path resolved = fs::canonical(path, ec);
  return ec ? fs::path() : resolved;
}

// The first line of a sysfs attribute without its line end; empty when the
// file is missing.
std::string readAttribute(const fs::path& file) {
  std::ifstream in(file);
  std::string value;
  std::getline(in, value);
  while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) value.pop_back();
  return value;
}

bool strictlyInside(const fs::path& path, const fs::path& root) {
  const fs::path relative = path.lexically_relative(root);
  return !relative.empty() && *relative.begin() != ".." && relative != ".";
}

fs::path ttyClassDir(const DeviceRoots& roots, const std::string& name) {
  return roots.sys / "class" / "tty" / name;
}

std::optional<UsbAdapter> usbAdapterOf(const DeviceRoots& roots, const std::string& name) {
  const fs::path sys = canonicalOrEmpty(roots.sys);
  fs::path dir = canonicalOrEmpty(ttyClassDir(roots, name) / "device");
  if (sys.empty() || dir.empty()) return std::nullopt;
  for (int depth = 0; depth < kUsbSearchDepth && strictlyInside(dir, sys); ++depth) {
    std::error_code ec;
    if (fs::exists(dir / "idVendor", ec)) {
      return UsbAdapter{readAttribute(dir / "idVendor"), readAttribute(dir / "idProduct"),
                        readAttribute(dir / "manufacturer"), readAttribute(dir / "product"),
                        readAttribute(dir / "serial")};
    }
    dir = dir.parent_path();
  }
  return std::nullopt;
}

// The 8250 driver registers ttyS0 to ttyS3 (or as many as nr_uarts says)
// whether or not a UART answers there, and leaves the port type of an empty
// one at 0 (PORT_UNKNOWN). So a ttyS counts when sysfs gives it a device and
// a type other than 0; a driver without the type attribute counts by its
// device alone.
bool hasUart(const DeviceRoots& roots, const std::string& name) {
  const fs::path dir = ttyClassDir(roots, name);
  std::error_code ec;
  if (!fs::exists(dir / "device", ec)) return false;
  if (!fs::exists(dir / "type", ec)) return true;
  return readAttribute(dir / "type") != "0";
}

// The number of "ttyUSB12" in the family "ttyUSB"; nullopt for other names.
std::optional<int> numberInFamily(std::string_view name, std::string_view family) {
  if (!name.starts_with(family)) return std::nullopt;
  const std::string_view digits = name.substr(family.size());
  if (digits.empty() || digits.size() > 6) return std::nullopt;
  int number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return number;
}

std::vector<fs::path> sortedEntries(const fs::path& dir) {
  std::vector<fs::path> entries;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec)) entries.push_back(entry.path());
  std::sort(entries.begin(), entries.end());
  return entries;
}

// The plain nodes of one family in the /dev root, in number order
// (ttyS10 after ttyS9).
std::vector<std::string> familyNodes(const std::vector<fs::path>& devEntries,
                                     std::string_view family) {
  std::vector<std::pair<int, std::string>> numbered;
  for (const auto& entry : devEntries) {
    const std::string name = entry.filename().string();
    if (auto number = numberInFamily(name, family)) numbered.emplace_back(*number, name);
  }
  std::sort(numbered.begin(), numbered.end());
  std::vector<std::string> names;
  for (auto& [number, name] : numbered) names.push_back(std::move(name));
  return names;
}

}  // namespace

bool userMayOpen(const fs::path& node) { return ::access(node.c_str(), R_OK | W_OK) == 0; }

std::string adapterName(const UsbAdapter& adapter) {
  if (adapter.manufacturer.empty() && adapter.product.empty())
    return "USB device " + adapter.vendorId + ":" + adapter.productId;
  if (adapter.manufacturer.empty() || adapter.product.starts_with(adapter.manufacturer))
    return adapter.product;
  if (adapter.product.empty()) return adapter.manufacturer;
  return adapter.manufacturer + " " + adapter.product;
}

SerialDevice describeDevicePath(const fs::path& path, const DeviceRoots& roots,
                                const AccessCheck& mayOpen) {
  SerialDevice device;
  device.path = path;
  if (isUrl(path.native())) {
    device.network = true;
    device.present = device.mayOpen = !networkLineNameProblem(path.native());
    return device;
  }
  std::error_code ec;
  device.isLink = fs::is_symlink(fs::symlink_status(path, ec));
  const fs::path target = canonicalOrEmpty(path);
  if (target.empty() || fs::is_directory(target, ec)) return device;
  device.present = true;
  const fs::path dev = canonicalOrEmpty(roots.dev);
  const bool inDevRoot = !dev.empty() && target.parent_path() == dev;
  // A node of the /dev root is named by the root as given, not as resolved,
  // so that it reads as the user knows it.
  device.node = inDevRoot ? roots.dev / target.filename() : target;
  if (inDevRoot) {
    const std::string name = target.filename().string();
    device.usb = usbAdapterOf(roots, name);
    device.uart = numberInFamily(name, "ttyS") && hasUart(roots, name);
  }
  device.mayOpen = mayOpen(device.node);
  return device;
}

std::vector<SerialDevice> discoverSerialDevices(const DeviceRoots& roots,
                                                const AccessCheck& mayOpen) {
  std::vector<SerialDevice> found;
  for (const auto& link : sortedEntries(roots.dev / "serial" / "by-id")) {
    SerialDevice device = describeDevicePath(link, roots, mayOpen);
    if (device.present) found.push_back(std::move(device));  // a dangling link is no device
  }
  const std::vector<fs::path> devEntries = sortedEntries(roots.dev);
  for (std::string_view family : kFamilies) {
    for (const std::string& name : familyNodes(devEntries, family)) {
      if (family == "ttyS" && !hasUart(roots, name)) continue;
      SerialDevice device = describeDevicePath(roots.dev / name, roots, mayOpen);
      if (device.present) found.push_back(std::move(device));
    }
  }
  return found;
}

}  // namespace orvane::serial
