#include "serial/device_discovery.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>

#include "fake_device_tree.h"

namespace orvane::serial {
namespace {

namespace fs = std::filesystem;
using testing::FakeDeviceTree;

// A laptop with two USB-RS485 adapters (one behind a node this user may not
// open), an Arduino, a motherboard UART, an 8250 slot without a UART, a
// virtual tty, and the by-id link an unplugged adapter left behind.
class Discovery : public ::testing::Test {
 protected:
  Discovery() {
    tree_.addUsbTty("ttyUSB0", "1-1", testing::ftdiAdapter());
    tree_.addUsbTty("ttyUSB1", "1-2",
                    {"067b", "2303", "Prolific Technology Inc.", "USB-Serial Controller", ""});
    tree_.addUsbTty("ttyACM0", "1-3",
                    {"2341", "0043", "Arduino (www.arduino.cc)", "Arduino Uno", "75735353"});
    tree_.addSerialTty("ttyS0", "4");
    tree_.addSerialTty("ttyS1", "0");
    tree_.addTtyWithoutDevice("ttyS2");
    tree_.addSerialTty("ttyS10", "4");
    for (const char* node :
         {"ttyUSB0", "ttyUSB1", "ttyACM0", "ttyS0", "ttyS1", "ttyS2", "ttyS10", "tty0", "console"})
      tree_.addNode(node);
    tree_.addByIdLink("usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0", "ttyUSB1");
    tree_.addByIdLink("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "ttyUSB0");
    tree_.addByIdLink("usb-FTDI_FT232R_USB_UART_A6008isP-if00-port0", "ttyUSB7");
  }

  // ttyUSB1 belongs to a group this user is not in.
  std::vector<SerialDevice> discover() const {
    return discoverSerialDevices(
        tree_.roots(), [this](const fs::path& node) { return node != tree_.dev() / "ttyUSB1"; });
  }

  SerialDevice find(const std::vector<SerialDevice>& devices, const fs::path& path) const {
    auto it = std::find_if(devices.begin(), devices.end(),
                           [&](const SerialDevice& d) { return d.path == path; });
    if (it == devices.end()) throw std::runtime_error("not listed: " + path.string());
    return *it;
  }

  fs::path byId(const std::string& name) const { return tree_.dev() / "serial" / "by-id" / name; }

  FakeDeviceTree tree_;
};

TEST_F(Discovery, ListsByIdLinksFirstThenUsbAcmAndUartNodesInNumberOrder) {
  std::vector<fs::path> paths;
  for (const auto& device : discover()) paths.push_back(device.path);
  const fs::path dev = tree_.dev();
  EXPECT_EQ(paths,
            (std::vector<fs::path>{
                byId("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"),
                byId("usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0"),
                dev / "ttyUSB0", dev / "ttyUSB1", dev / "ttyACM0", dev / "ttyS0", dev / "ttyS10"}))
      << "the dangling link, the empty 8250 slot, the tty without a device, tty0 and the "
         "console are no serial devices";
}

TEST_F(Discovery, ByIdLinkLeadsToItsNodeWithTheAdapterFromSysfs) {
  const auto devices = discover();
  const auto& ftdi = find(devices, byId("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));
  EXPECT_TRUE(ftdi.isLink);
  EXPECT_TRUE(ftdi.present);
  EXPECT_EQ(ftdi.node, tree_.dev() / "ttyUSB0") << "named by the /dev root as given";
  ASSERT_TRUE(ftdi.usb);
  EXPECT_EQ(ftdi.usb->vendorId, "0403");
  EXPECT_EQ(ftdi.usb->productId, "6001");
  EXPECT_EQ(ftdi.usb->serialNumber, "A50285BI");
  EXPECT_EQ(adapterName(*ftdi.usb), "FTDI FT232R USB UART");
  EXPECT_TRUE(ftdi.mayOpen);

  const auto& plain = find(devices, tree_.dev() / "ttyUSB0");
  EXPECT_FALSE(plain.isLink);
  EXPECT_EQ(plain.node, plain.path);
  ASSERT_TRUE(plain.usb);
  EXPECT_EQ(plain.usb->product, "FT232R USB UART");
}

TEST_F(Discovery, AcmDeviceFindsItsUsbDeviceAboveTheInterface) {
  const auto& acm = find(discover(), tree_.dev() / "ttyACM0");
  ASSERT_TRUE(acm.usb);
  EXPECT_EQ(adapterName(*acm.usb), "Arduino (www.arduino.cc) Arduino Uno");
  EXPECT_EQ(acm.usb->serialNumber, "75735353");
  EXPECT_FALSE(acm.uart);
}

TEST_F(Discovery, TtySCountsWithADeviceAndAPortTypeOtherThanZero) {
  const auto devices = discover();
  const auto& uart = find(devices, tree_.dev() / "ttyS0");
  EXPECT_TRUE(uart.uart);
  EXPECT_FALSE(uart.usb);
  EXPECT_THROW(find(devices, tree_.dev() / "ttyS1"), std::runtime_error) << "type 0: no UART";
  EXPECT_THROW(find(devices, tree_.dev() / "ttyS2"), std::runtime_error) << "no device";

  // A driver without the type attribute counts by its device alone.
  tree_.addSerialTty("ttyS3", std::nullopt);
  tree_.addNode("ttyS3");
  EXPECT_TRUE(find(discover(), tree_.dev() / "ttyS3").uart);
}

TEST_F(Discovery, ANodeTheAccessCheckRefusesIsListedAsNotOpenable) {
  const auto devices = discover();
  const auto& refused = find(devices, tree_.dev() / "ttyUSB1");
  EXPECT_TRUE(refused.present);
  EXPECT_FALSE(refused.mayOpen);
  const auto& link =
      find(devices, byId("usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0"));
  EXPECT_FALSE(link.mayOpen) << "a link is checked at the node it leads to";
  ASSERT_TRUE(link.usb);
  EXPECT_EQ(adapterName(*link.usb), "Prolific Technology Inc. USB-Serial Controller");
  EXPECT_EQ(link.usb->serialNumber, "") << "the adapter has none";
  EXPECT_TRUE(find(devices, tree_.dev() / "ttyACM0").mayOpen);
}

TEST_F(Discovery, TheDefaultCheckRefusesANodeWithoutReadAndWritePermission) {
  ASSERT_EQ(::chmod((tree_.dev() / "ttyUSB0").c_str(), 0), 0);
  ASSERT_EQ(::chmod((tree_.dev() / "ttyACM0").c_str(), 0600), 0);
  const auto devices = discoverSerialDevices(tree_.roots());
  EXPECT_TRUE(find(devices, tree_.dev() / "ttyACM0").mayOpen);
  if (::geteuid() == 0) GTEST_SKIP() << "root may open any node";
  EXPECT_FALSE(find(devices, tree_.dev() / "ttyUSB0").mayOpen);
}

TEST_F(Discovery, AppearsAndGoesWithItsNode) {
  tree_.addUsbTty("ttyUSB2", "1-4", {"10c4", "ea60", "Silicon Labs", "CP2102 USB to UART", "0001"});
  EXPECT_THROW(find(discover(), tree_.dev() / "ttyUSB2"), std::runtime_error)
      << "sysfs alone makes no device";
  tree_.addNode("ttyUSB2");
  EXPECT_EQ(adapterName(*find(discover(), tree_.dev() / "ttyUSB2").usb),
            "Silicon Labs CP2102 USB to UART");
  fs::remove(tree_.dev() / "ttyUSB0");
  const auto devices = discover();
  EXPECT_THROW(find(devices, tree_.dev() / "ttyUSB0"), std::runtime_error);
  EXPECT_THROW(find(devices, byId("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0")),
               std::runtime_error)
      << "its by-id link now dangles";
}

TEST(DiscoveryRoots, MissingRootsFindNothing) {
  EXPECT_TRUE(
      discoverSerialDevices({"/nonexistent-orvane/sys", "/nonexistent-orvane/dev"}).empty());
}

TEST(DescribeDevicePath, MissingLinkedAndPlainPaths) {
  FakeDeviceTree tree;
  tree.addUsbTty("ttyUSB0", "1-1", testing::ftdiAdapter());
  tree.addNode("ttyUSB0");
  const auto allowed = [](const fs::path&) { return true; };

  const auto missing = describeDevicePath(tree.dev() / "ttyUSB9", tree.roots(), allowed);
  EXPECT_FALSE(missing.present);
  EXPECT_TRUE(missing.node.empty());
  EXPECT_FALSE(missing.mayOpen);

  // A link elsewhere, as the simulator's or a socat bridge's.
  fs::create_directories(tree.dev() / "pts");
  std::ofstream(tree.dev() / "pts" / "3").put('\0');
  const fs::path link = tree.sys().parent_path() / "line";
  fs::create_symlink(tree.dev() / "pts" / "3", link);
  const auto bridge = describeDevicePath(link, tree.roots(), allowed);
  EXPECT_TRUE(bridge.present);
  EXPECT_TRUE(bridge.isLink);
  EXPECT_EQ(bridge.node, fs::canonical(tree.dev() / "pts" / "3"));
  EXPECT_FALSE(bridge.usb);

  // A link of the user's own to an adapter is described by the adapter.
  const fs::path own = tree.sys().parent_path() / "rs485";
  fs::create_symlink(tree.dev() / "ttyUSB0", own);
  const auto adapter = describeDevicePath(own, tree.roots(), allowed);
  ASSERT_TRUE(adapter.usb);
  EXPECT_EQ(adapter.node, tree.dev() / "ttyUSB0");

  EXPECT_FALSE(describeDevicePath(tree.dev(), tree.roots(), allowed).present)
      << "a directory is no device";
}

TEST(AdapterName, ManufacturerAndProductWithoutRepeatingOrMissingParts) {
  EXPECT_EQ(adapterName({"0403", "6001", "FTDI", "FT232R USB UART", ""}), "FTDI FT232R USB UART");
  EXPECT_EQ(adapterName({"1a86", "7523", "QinHeng", "QinHeng CH340 serial", ""}),
            "QinHeng CH340 serial");
  EXPECT_EQ(adapterName({"1a86", "7523", "", "USB Serial", ""}), "USB Serial");
  EXPECT_EQ(adapterName({"1a86", "7523", "QinHeng", "", ""}), "QinHeng");
  EXPECT_EQ(adapterName({"1a86", "7523", "", "", ""}), "USB device 1a86:7523");
}

}  // namespace
}  // namespace orvane::serial
