#include "admin/core/port_devices_form.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <set>

#include "admin/core/com_port_form.h"
#include "admin/core/command_link.h"
#include "admin/core/ui_naming.h"
#include "serial/serial_port.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/sim_modules.h"
#include "tests/admin/terminal/guarded_fifo.h"
#include "tests/serial/fake_device_tree.h"

namespace orvane::admin {
namespace {

namespace fs = std::filesystem;
using serial::testing::FakeDeviceTree;
using testing::AdminFixture;
using testing::simModule;

const char* const kFtdiById = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

QString qs(const fs::path& path) { return QString::fromStdString(path.string()); }

template <typename T>
T* control(QWidget& window, const QString& name) {
  auto* found = window.findChild<T*>(name);
  EXPECT_NE(found, nullptr) << name.toStdString();
  return found;
}

QComboBox* deviceField(QWidget& window, int com) {
  return control<QComboBox>(window, indexedName(QStringLiteral("Device"), com));
}
QLabel* deviceNote(QWidget& window, int com) {
  return control<QLabel>(window, indexedName(QStringLiteral("DeviceNote"), com));
}
void click(QWidget& window, const char* name) {
  control<QPushButton>(window, QString::fromLatin1(name))->click();
}

int indexOfPath(QComboBox* combo, const fs::path& path) { return combo->findData(qs(path)); }

TEST(DeviceTexts, PathAdapterLinkAndPermission) {
  serial::SerialDevice adapter;
  adapter.path = "/dev/ttyUSB0";
  adapter.node = "/dev/ttyUSB0";
  adapter.present = true;
  adapter.mayOpen = true;
  adapter.usb = serial::testing::ftdiAdapter();
  EXPECT_EQ(comOptionText(1, adapter), "COM1 — /dev/ttyUSB0, FTDI FT232R USB UART");
  EXPECT_EQ(deviceListText(adapter), "/dev/ttyUSB0 — FTDI FT232R USB UART, serial A50285BI");

  serial::SerialDevice bridge;
  bridge.path = "/tmp/orvane-demo/COM1";
  bridge.node = "/dev/pts/3";
  bridge.isLink = true;
  bridge.present = true;
  bridge.mayOpen = true;
  EXPECT_EQ(comOptionText(1, bridge), "COM1 — /tmp/orvane-demo/COM1");
  EXPECT_EQ(deviceDetails(bridge), "→ /dev/pts/3");

  serial::SerialDevice plain;
  plain.path = plain.node = "/dev/ttyS0";
  plain.present = true;
  EXPECT_EQ(comOptionText(1, plain), "COM1 — /dev/ttyS0");
  EXPECT_EQ(deviceListText(plain), "/dev/ttyS0 — " + kNoPermissionText);
  plain.mayOpen = true;
  EXPECT_EQ(deviceListText(plain), "/dev/ttyS0") << "nothing to add";

  serial::SerialDevice missing;
  missing.path = "/dev/ttyUSB4";
  EXPECT_EQ(deviceListText(missing), "/dev/ttyUSB4 — not found");

  for (const char* url : {"rfc2217://10.0.0.5:4001", "socket://10.0.0.5:4001"}) {
    const auto line = serial::describeDevicePath(url);
    EXPECT_EQ(comOptionText(3, line), QStringLiteral("COM3 — ") + url);
    EXPECT_EQ(deviceDetails(line), url[0] == 'r' ? "device server, RFC 2217: the line's speed is "
                                                   "set from here"
                                                 : "device server, raw TCP: the line runs at the "
                                                   "server's speed");
  }
  EXPECT_EQ(deviceListText(serial::describeDevicePath("socket://10.0.0.5")),
            "socket://10.0.0.5 — bad network line name: the port is missing (HOST:PORT)");
}

// The machine: an FTDI adapter behind its by-id link, a Prolific adapter in a
// group this user is not in, and a motherboard UART.
class PortDevicesFormTest : public AdminFixture {
 protected:
  PortDevicesFormTest() {
    tree_.addUsbTty("ttyUSB0", "1-1", serial::testing::ftdiAdapter());
    tree_.addUsbTty("ttyUSB1", "1-2",
                    {"067b", "2303", "Prolific Technology Inc.", "USB-Serial Controller", ""});
    tree_.addSerialTty("ttyS0", "4");
    for (const char* node : {"ttyUSB0", "ttyUSB1", "ttyS0"}) tree_.addNode(node);
    tree_.addByIdLink(kFtdiById, "ttyUSB0");
  }

  std::unique_ptr<PortDevicesForm> makeForm() {
    return std::make_unique<PortDevicesForm>(*context_, tree_.roots(), [this](const fs::path& n) {
      return n != tree_.dev() / "ttyUSB1";
    });
  }
  fs::path byId() const { return tree_.dev() / "serial" / "by-id" / kFtdiById; }

  FakeDeviceTree tree_;
};

TEST_F(PortDevicesFormTest, ListsTheFoundDevicesByIdFirstWithTheirAdapters) {
  auto form = makeForm();
  EXPECT_EQ(form->windowTitle(), "COM Port Devices");
  for (int com = 1; com <= 8; ++com) {
    QComboBox* field = deviceField(*form, com);
    ASSERT_EQ(field->count(), 4) << "COM" << com;
    EXPECT_TRUE(field->isEditable());
  }
  QComboBox* field = deviceField(*form, 1);
  EXPECT_EQ(field->itemData(0).toString(), qs(byId()));
  EXPECT_EQ(field->itemText(0), qs(byId()) + " — → " + qs(tree_.dev() / "ttyUSB0") +
                                    ", FTDI FT232R USB UART, serial A50285BI");
  EXPECT_EQ(field->itemText(1),
            qs(tree_.dev() / "ttyUSB0") + " — FTDI FT232R USB UART, serial A50285BI");
  EXPECT_EQ(field->itemData(2).toString(), qs(tree_.dev() / "ttyUSB1"));
  EXPECT_EQ(field->itemText(3), qs(tree_.dev() / "ttyS0") + " — UART serial port");
}

TEST_F(PortDevicesFormTest, FieldsShowPortsConfAndPathsOutsideDevAreListed) {
  const fs::path link = dir_.filePath("line").toStdString();
  mapCom(1, link.string());
  mapCom(3, (tree_.dev() / "ttyUSB0").string());
  mapCom(12, "/dev/ttyACM9");
  auto form = makeForm();
  EXPECT_EQ(deviceField(*form, 1)->currentText(), qs(link));
  EXPECT_EQ(deviceNote(*form, 1)->text(), "not found") << "the simulator is not running";
  EXPECT_GE(indexOfPath(deviceField(*form, 2), link), 0) << "every COM may take it";
  EXPECT_GE(indexOfPath(deviceField(*form, 2), "/dev/ttyACM9"), 0);
  EXPECT_EQ(deviceField(*form, 3)->currentText(), qs(tree_.dev() / "ttyUSB0"));
  EXPECT_EQ(deviceNote(*form, 3)->text(), "FTDI FT232R USB UART, serial A50285BI");
  EXPECT_EQ(deviceField(*form, 2)->currentText(), "");
  EXPECT_EQ(deviceField(*form, 2)->lineEdit()->placeholderText(), "/dev/ttyS1 (default)");
  EXPECT_TRUE(deviceNote(*form, 2)->text().startsWith("default: /dev/ttyS1"));
}

TEST_F(PortDevicesFormTest, ChoosingAnEntryPutsItsPathInTheFieldAndANoteBeside) {
  auto form = makeForm();
  QComboBox* field = deviceField(*form, 2);
  field->setCurrentIndex(0);
  EXPECT_EQ(field->currentText(), qs(byId()));
  EXPECT_EQ(deviceNote(*form, 2)->text(),
            "→ " + qs(tree_.dev() / "ttyUSB0") + ", FTDI FT232R USB UART, serial A50285BI");
  field->lineEdit()->clear();
  QTest::keyClicks(field->lineEdit(), qs(tree_.dev() / "ttyS0"));
  EXPECT_EQ(field->currentText(), qs(tree_.dev() / "ttyS0")) << "no completion into an entry";
  EXPECT_EQ(deviceNote(*form, 2)->text(), "UART serial port");
}

TEST_F(PortDevicesFormTest, ADeviceWithoutPermissionIsMarkedAndCanBeChosen) {
  auto form = makeForm();
  QComboBox* field = deviceField(*form, 4);
  const int refused = indexOfPath(field, tree_.dev() / "ttyUSB1");
  ASSERT_GE(refused, 0);
  EXPECT_TRUE(field->itemText(refused).endsWith(
      "Prolific Technology Inc. USB-Serial Controller; no permission — add your user to the "
      "dialout group, then log in again"));
  EXPECT_EQ(field->itemText(indexOfPath(field, tree_.dev() / "ttyUSB0")).indexOf("permission"), -1);
  field->setCurrentIndex(refused);
  EXPECT_TRUE(deviceNote(*form, 4)->text().endsWith(kNoPermissionText));
  click(*form, "OKBtn");
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(readConfigFile("ports.conf"), "COM4=" + (tree_.dev() / "ttyUSB1").string() + "\n");
}

TEST_F(PortDevicesFormTest, OKRewritesPortsConfKeepingCommentsAndHighComNumbers) {
  writeConfigFile("ports.conf",
                  "# bench ports\n"
                  "COM1=/dev/ttyS0\n"
                  "\n"
                  "COM3=/dev/old\n"
                  "COM12=/dev/ttyUSB9\n");
  auto form = makeForm();
  deviceField(*form, 1)->setCurrentIndex(0);
  deviceField(*form, 3)->lineEdit()->clear();
  QTest::keyClicks(deviceField(*form, 5)->lineEdit(), "  /tmp/bridge/COM5 ");
  click(*form, "OKBtn");
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(readConfigFile("ports.conf"),
            "# bench ports\n"
            "COM1=" +
                byId().string() +
                "\n"
                "\n"
                "COM12=/dev/ttyUSB9\n"
                "COM5=/tmp/bridge/COM5\n");
  EXPECT_TRUE(ui_->messages.empty());
}

TEST_F(PortDevicesFormTest, CancelAndEscapeLeavePortsConfByteForByte) {
  const std::string original = "# kept\r\ncom1 = /dev/ttyS0 \r\nCOM2=/dev/x";
  writeConfigFile("ports.conf", original);
  {
    auto form = makeForm();
    deviceField(*form, 1)->setCurrentIndex(1);
    deviceField(*form, 2)->lineEdit()->clear();
    click(*form, "CancelBtn");
    EXPECT_EQ(form->result(), QDialog::Rejected);
  }
  {
    auto form = makeForm();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    deviceField(*form, 3)->setEditText("/dev/ttyUSB0");
    QTest::keyClick(deviceField(*form, 3)->lineEdit(), Qt::Key_Escape);
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_FALSE(form->isVisible());
  }
  EXPECT_EQ(readConfigFile("ports.conf"), original);
}

TEST_F(PortDevicesFormTest, TheFirstFieldHasTheFocusAndEnterIsOK) {
  auto form = makeForm();
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  QWidget* focus = form->focusWidget();
  ASSERT_NE(focus, nullptr);
  EXPECT_TRUE(focus == deviceField(*form, 1) || deviceField(*form, 1)->isAncestorOf(focus));
  EXPECT_TRUE(control<QPushButton>(*form, "OKBtn")->isDefault());
  QTest::keyClicks(deviceField(*form, 2)->lineEdit(), "/dev/ttyACM0");
  QTest::keyClick(deviceField(*form, 2)->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(readConfigFile("ports.conf"), "COM2=/dev/ttyACM0\n");
}

TEST_F(PortDevicesFormTest, AWriteThatFailsIsShownAndTheDialogStays) {
  // A ports.conf that cannot be read opens no dialog at all (ComPortDevicesTest);
  // a read-only one is read and then left alone, also by root.
  mapCom(2, "/dev/ttyS1");
  fs::permissions(context_->configDir / "ports.conf", fs::perms::owner_read);
  auto form = makeForm();
  deviceField(*form, 1)->setEditText("/dev/ttyUSB0");
  click(*form, "OKBtn");
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_EQ(ui_->messages[0].text,
            qs(context_->configDir / "ports.conf") + ": is read-only; left as it is");
  EXPECT_EQ(form->result(), 0) << "still open";
  EXPECT_EQ(readConfigFile("ports.conf"), "COM2=/dev/ttyS1\n");
}

TEST_F(PortDevicesFormTest, ADevicePluggedInAppearsAndOnePulledOutGoes) {
  auto form = makeForm();
  form->show();
  QComboBox* field = deviceField(*form, 6);
  const fs::path node = tree_.dev() / "ttyUSB2";
  field->setEditText(qs(node));
  EXPECT_EQ(deviceNote(*form, 6)->text(), "not found");

  tree_.addUsbTty("ttyUSB2", "1-4", {"10c4", "ea60", "Silicon Labs", "CP2102 USB to UART", ""});
  tree_.addNode("ttyUSB2");
  ASSERT_TRUE(QTest::qWaitFor([&] { return indexOfPath(field, node) >= 0; }, 10000));
  EXPECT_EQ(field->currentText(), qs(node)) << "what the user typed stays";
  EXPECT_EQ(deviceNote(*form, 6)->text(), "Silicon Labs CP2102 USB to UART");

  fs::remove(tree_.dev() / "ttyUSB0");
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return indexOfPath(field, tree_.dev() / "ttyUSB0") < 0; }, 10000));
  EXPECT_LT(indexOfPath(field, byId()), 0) << "its by-id link leads nowhere now";
  EXPECT_EQ(field->count(), 3);
}

TEST_F(PortDevicesFormTest, NetworkLineTakesAWellFormedUrlForTheComWithTheFocus) {
  const struct {
    const char* typed;
    QString refusal;  // empty: accepted
  } attempts[] = {
      {"",
       "Type the URL of the line on the device server, such as rfc2217://192.168.1.50:7001 "
       "or socket://192.168.1.50:4001."},
      {"10.0.0.5:4001", "10.0.0.5:4001: not a network line name (SCHEME://)"},
      {"rfc2217://10.0.0.5",
       "rfc2217://10.0.0.5: bad network line name: the port is missing "
       "(HOST:PORT)"},
      {" rfc2217://10.0.0.5:4001?timeout=0.5 ", ""},
  };
  auto form = makeForm();
  deviceField(*form, 3)->setFocus();
  QString chosenCom;
  ui_->modalHandlers[QStringLiteral("NetworkLineForm")] = [&](QDialog& dialog) {
    chosenCom = control<QComboBox>(dialog, "ComNumber")->currentText();
    for (const auto& attempt : attempts) {
      control<QLineEdit>(dialog, "Url")->setText(QString::fromLatin1(attempt.typed));
      click(dialog, "OKBtn");
      EXPECT_EQ(dialog.result() == QDialog::Accepted, attempt.refusal.isEmpty()) << attempt.typed;
    }
    return dialog.result();
  };
  EXPECT_EQ(control<QPushButton>(*form, "NetworkLineBtn")->text(), "&Network line…");
  click(*form, "NetworkLineBtn");
  EXPECT_EQ(chosenCom, "COM3");
  std::vector<QString> refusals;
  for (const auto& attempt : attempts)
    if (!attempt.refusal.isEmpty()) refusals.push_back(attempt.refusal);
  EXPECT_EQ(ui_->texts(), refusals);
  for (const auto& shown : ui_->messages) EXPECT_EQ(shown.title, "Error");

  EXPECT_EQ(deviceField(*form, 3)->currentText(), "rfc2217://10.0.0.5:4001?timeout=0.5");
  EXPECT_EQ(deviceNote(*form, 3)->text(),
            "device server, RFC 2217: the line's speed is set from here");
  click(*form, "OKBtn");
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(readConfigFile("ports.conf"), "COM3=rfc2217://10.0.0.5:4001?timeout=0.5\n");

  ui_->modalHandlers.clear();  // Cancel changes nothing
  auto again = makeForm();
  click(*again, "NetworkLineBtn");
  EXPECT_EQ(deviceField(*again, 1)->currentText(), "") << "COM1 has the focus at first";
  EXPECT_EQ(deviceField(*again, 3)->currentText(), "rfc2217://10.0.0.5:4001?timeout=0.5");
}

TEST_F(PortDevicesFormTest, ABadUrlTypedIntoAFieldIsRefusedAtOK) {
  mapCom(1, "/dev/ttyS0");
  const struct {
    const char* typed;
    const char* refusal;
  } cases[] = {
      {"socket://pump house:4001",
       "socket://pump house:4001: bad network line name: \"pump house\" is not a host name"},
      {"tcp://10.0.0.5:4001",
       "tcp://10.0.0.5:4001: bad network line name: no such kind of line \"tcp://\" (rfc2217:// "
       "or socket://)"},
      {"rfc2217://[fd00::50:7001",
       "rfc2217://[fd00::50:7001: bad network line name: the \"[\" of the IPv6 address is not "
       "closed"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    ui_->messages.clear();
    auto form = makeForm();
    deviceField(*form, 2)->setEditText(QString::fromLatin1(c.typed));
    const QString problem = QString::fromLatin1(c.refusal);
    EXPECT_EQ(deviceNote(*form, 2)->text(), problem.mid(problem.indexOf(": ") + 2));
    click(*form, "OKBtn");
    EXPECT_EQ(form->result(), 0) << "still open";
    EXPECT_EQ(ui_->texts(), std::vector<QString>{"COM2: " + problem});
    EXPECT_EQ(readConfigFile("ports.conf"), "COM1=/dev/ttyS0\n");
  }
}

TEST(PortDevicesFormFirstAdapter, TheByIdFolderThatAppearsIsWatchedToo) {
  FakeDeviceTree tree;
  QTemporaryDir config;
  AdminContext context(config.path().toStdString(), std::make_unique<testing::TestUi>());
  PortDevicesForm form(context, tree.roots(), [](const fs::path&) { return true; });
  form.show();
  QComboBox* field = deviceField(form, 1);
  EXPECT_EQ(field->count(), 0);
  tree.addUsbTty("ttyUSB0", "1-1", serial::testing::ftdiAdapter());
  tree.addNode("ttyUSB0");
  ASSERT_TRUE(QTest::qWaitFor([&] { return field->count() == 1; }, 10000));
  const fs::path link = tree.addByIdLink(kFtdiById, "ttyUSB0");
  ASSERT_TRUE(QTest::qWaitFor([&] { return indexOfPath(field, link) == 0; }, 10000))
      << "the link in the new folder comes first";
  // A second adapter whose link comes after its node was listed: only the
  // by-id folder changes then.
  tree.addNode("ttyUSB1");
  ASSERT_TRUE(QTest::qWaitFor([&] { return field->count() == 3; }, 10000));
  const fs::path second = tree.addByIdLink("usb-second-if00-port0", "ttyUSB1");
  EXPECT_TRUE(QTest::qWaitFor([&] { return indexOfPath(field, second) >= 0; }, 10000));
}

// The COM Port dialog's side: each COM option tells the device it opens.
class ComPortDevicesTest : public PortDevicesFormTest {
 protected:
  std::unique_ptr<ComPortForm> makeComPortForm() {
    return std::make_unique<ComPortForm>(*context_, nullptr, tree_.roots());
  }
  QString optionTip(ComPortForm& form, int com) {
    return control<QRadioButton>(form, indexedName(QStringLiteral("ComOption"), com))->toolTip();
  }
  QLabel* deviceLabel(ComPortForm& form, int com) {
    return control<QLabel>(form, indexedName(QStringLiteral("ComDevice"), com));
  }
};

TEST_F(ComPortDevicesTest, EachComOptionShowsTheDeviceThatPortsConfGivesIt) {
  const std::string demoLink = dir_.filePath("orvane-demo/COM3").toStdString();
  mapCom(1, (tree_.dev() / "ttyUSB0").string());
  mapCom(2, byId().string());
  mapCom(3, demoLink);
  auto form = makeComPortForm();
  EXPECT_EQ(optionTip(*form, 1),
            "COM1 — " + qs(tree_.dev() / "ttyUSB0") + ", FTDI FT232R USB UART");
  EXPECT_EQ(optionTip(*form, 2), "COM2 — " + qs(byId()) + ", FTDI FT232R USB UART");
  EXPECT_EQ(optionTip(*form, 3), "COM3 — " + QString::fromStdString(demoLink));
  EXPECT_EQ(optionTip(*form, 4), "COM4 — /dev/ttyS3");
  EXPECT_EQ(deviceLabel(*form, 4)->text(), "/dev/ttyS3");
  EXPECT_EQ(deviceLabel(*form, 1)->toolTip(), optionTip(*form, 1));
  EXPECT_TRUE(deviceLabel(*form, 2)->text().endsWith(", FTDI FT232R USB UART"))
      << "a long path is shortened, the adapter stays in view";
  EXPECT_EQ(control<QRadioButton>(*form, "ComOption(1)")->text(), "COM1");

  mapCom(5, "rfc2217://192.168.1.50:7001");
  auto again = makeComPortForm();
  EXPECT_EQ(optionTip(*again, 5), "COM5 — rfc2217://192.168.1.50:7001");
  EXPECT_EQ(deviceLabel(*again, 5)->text(), "rfc2217://192.168.1.50:7001") << "like a device path";
}

TEST_F(ComPortDevicesTest, DevicesOpensTheDevicesDialogAndItsOKRefreshesTheOptions) {
  auto form = makeComPortForm();
  auto* devices = control<QPushButton>(*form, "DevicesBtn");
  EXPECT_EQ(devices->text(), "&Devices...");
  ui_->modalHandlers[QStringLiteral("PortDevicesForm")] = [](QDialog& dialog) {
    deviceField(dialog, 5)->setCurrentIndex(0);
    click(dialog, "OKBtn");
    return dialog.result();
  };
  devices->click();
  EXPECT_EQ(ui_->modalsOpened, (std::vector<QString>{"PortDevicesForm"}));
  EXPECT_EQ(optionTip(*form, 5), "COM5 — " + qs(byId()) + ", FTDI FT232R USB UART");
  EXPECT_EQ(readConfigFile("ports.conf"), "COM5=" + byId().string() + "\n");
  EXPECT_EQ(form->result(), 0) << "the COM Port dialog stays open";
}

TEST_F(ComPortDevicesTest, APortsConfThatCannotBeReadIsShownAndOpensNoDevicesDialog) {
  const fs::path portsConf = context_->configDir / "ports.conf";
  fs::remove(portsConf);
  const testing::GuardedFifo fifo(portsConf.string());
  const QString cause = qs(portsConf) + QStringLiteral(": is not a regular file (a FIFO)");
  auto form = makeComPortForm();
  for (int com = 1; com <= 8; ++com) {
    EXPECT_EQ(deviceLabel(*form, com)->text(), "unknown: ports.conf cannot be read");
    EXPECT_EQ(deviceLabel(*form, com)->toolTip(), cause);
  }
  control<QPushButton>(*form, "DevicesBtn")->click();
  EXPECT_TRUE(ui_->modalsOpened.empty());
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_EQ(ui_->messages[0].text, cause);
  EXPECT_EQ(ui_->messages[0].title, "Error");
  click(*form, "OKBtn");
  ASSERT_EQ(ui_->messages.size(), 2u);
  EXPECT_NE(ui_->messages[1].text.indexOf(cause), -1) << "the port cannot be opened";
  EXPECT_TRUE(fs::is_fifo(portsConf));
}

TEST_F(ComPortDevicesTest, DevicesCancelledChangesNothing) {
  mapCom(5, "/dev/ttyS4");
  const std::string original = readConfigFile("ports.conf");
  auto form = makeComPortForm();
  ui_->modalHandlers[QStringLiteral("PortDevicesForm")] = [](QDialog& dialog) {
    deviceField(dialog, 5)->setCurrentIndex(0);
    click(dialog, "CancelBtn");
    return dialog.result();
  };
  control<QPushButton>(*form, "DevicesBtn")->click();
  EXPECT_EQ(optionTip(*form, 5), "COM5 — /dev/ttyS4");
  EXPECT_EQ(readConfigFile("ports.conf"), original);
}

TEST_F(ComPortDevicesTest, OKOpensTheOpenPortAgainWhenItsDeviceWasChanged) {
  startNetwork({simModule("7213", 1)}, 1);
  sim::Network other({simModule("7213", 1)});
  openPort(1);
  auto form = makeComPortForm();
  ui_->modalHandlers[QStringLiteral("PortDevicesForm")] = [&other](QDialog& dialog) {
    deviceField(dialog, 1)->setEditText(QString::fromStdString(other.slavePath()));
    click(dialog, "OKBtn");
    return dialog.result();
  };
  control<QPushButton>(*form, "DevicesBtn")->click();
  EXPECT_EQ(optionTip(*form, 1), "COM1 — " + QString::fromStdString(other.slavePath()));
  click(*form, "OKBtn");
  EXPECT_EQ(form->result(), QDialog::Accepted);
  ASSERT_TRUE(context_->OrvComm.isOpen(1));
  EXPECT_EQ(context_->OrvComm.port(1).device(), other.slavePath());

  context_->LastCommand = "$012";
  EXPECT_TRUE(Exchange(*context_, {}, 0, 1000));
  EXPECT_EQ(context_->LastReply.substr(0, 3), "!01");
  EXPECT_TRUE(QTest::qWaitFor([&] { return other.frames().size() == 1; }, 5000));
  EXPECT_TRUE(framesSent().empty()) << "the first network hears nothing any more";
}

TEST_F(ComPortDevicesTest, OKKeepsTheOpenPortWhenItsDeviceStayedTheSame) {
  startNetwork({simModule("7213", 1)}, 1);
  openPort(1);
  const int fd = dynamic_cast<serial::SerialPort&>(context_->OrvComm.port(1)).fd();
  auto form = makeComPortForm();
  click(*form, "OKBtn");
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(dynamic_cast<serial::SerialPort&>(context_->OrvComm.port(1)).fd(), fd)
      << "not closed and opened again";
}

}  // namespace
}  // namespace orvane::admin
