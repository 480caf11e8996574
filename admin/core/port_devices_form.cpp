#include "admin/core/port_devices_form.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "admin/core/admin_context.h"
#include "admin/core/network_line_form.h"
#include "admin/core/ui_naming.h"
#include "serial/line_name.h"
#include "serial/port_names.h"
#include "serial/ports_conf_writer.h"

namespace orvane::admin {

namespace {

constexpr int kRescanDelayMs = 150;
constexpr int kListMargin = 24;  // the list's frame and scroll bar

QString pathText(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

// What a URL names, or what is wrong with it (without the URL, which the
// field shows).
QString networkLineDetails(const std::string& url) {
  try {
    const auto name = serial::parseNetworkLineName(url);
    return name.protocol == serial::NetworkProtocol::Rfc2217
               ? QStringLiteral("device server, RFC 2217: the line's speed is set from here")
               : QStringLiteral("device server, raw TCP: the line runs at the server's speed");
  } catch (const serial::SerialError& problem) {
    const std::string text = problem.what();
    return QString::fromStdString(text.starts_with(url + ": ") ? text.substr(url.size() + 2)
                                                               : text);
  }
}

}  // namespace

QString comDeviceText(const serial::SerialDevice& device) {
  QString result = pathText(device.path);
  if (device.usb) result += QStringLiteral(", ") + QString::fromStdString(adapterName(*device.usb));
  return result;
}

QString comOptionText(int com, const serial::SerialDevice& device) {
  return QStringLiteral("COM%1 — ").arg(com) + comDeviceText(device);
}

QString deviceDetails(const serial::SerialDevice& device) {
  if (device.network) return networkLineDetails(device.path.string());
  if (!device.present) return QStringLiteral("not found");
  QStringList parts;
  if (device.isLink) parts << QStringLiteral("→ ") + pathText(device.node);
  if (device.usb) {
    parts << QString::fromStdString(adapterName(*device.usb));
    if (!device.usb->serialNumber.empty())
      parts << QStringLiteral("serial ") + QString::fromStdString(device.usb->serialNumber);
  }
  if (device.uart) parts << QStringLiteral("UART serial port");
  QString details = parts.join(QStringLiteral(", "));
  if (!device.mayOpen)
    details =
        details.isEmpty() ? kNoPermissionText : details + QStringLiteral("; ") + kNoPermissionText;
  return details;
}

QString deviceListText(const serial::SerialDevice& device) {
  const QString details = deviceDetails(device);
  return details.isEmpty() ? pathText(device.path)
                           : pathText(device.path) + QStringLiteral(" — ") + details;
}

PortDevicesForm::PortDevicesForm(AdminContext& context, serial::DeviceRoots roots,
                                 serial::AccessCheck mayOpen, QWidget* parent)
    : QDialog(parent), context_(context), roots_(std::move(roots)), mayOpen_(std::move(mayOpen)) {
  setObjectName(QStringLiteral("PortDevicesForm"));
  setWindowTitle(QStringLiteral("COM Port Devices"));
  buildControls();
  load();
}

void PortDevicesForm::buildControls() {
  auto* intro = new QLabel(
      QStringLiteral("The device of each COM port. Choose a device found on this computer, type "
                     "any path, or name a line on a device server (Network line…); an empty "
                     "field uses the default."),
      this);
  intro->setWordWrap(true);
  auto* grid = new QGridLayout;
  for (int com = 1; com <= 8; ++com) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(indexedName(QStringLiteral("Device"), com));
    combo->setEditable(true);
    // Completion would fill in a list entry's text, details and all.
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumContentsLength(36);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->lineEdit()->setPlaceholderText(QString::fromStdString(serial::defaultDevicePath(com)) +
                                          QStringLiteral(" (default)"));
    auto* caption = namedLabel(indexedName(QStringLiteral("DeviceLabel"), com),
                               QStringLiteral("COM&%1").arg(com), this);
    caption->setBuddy(combo);
    auto* note = namedLabel(indexedName(QStringLiteral("DeviceNote"), com), QString(), this);
    note->setWordWrap(true);
    note->setMinimumWidth(280);
    grid->addWidget(caption, com - 1, 0);
    grid->addWidget(combo, com - 1, 1);
    grid->addWidget(note, com - 1, 2);
    device_[static_cast<std::size_t>(com - 1)] = combo;
    deviceNote_[static_cast<std::size_t>(com - 1)] = note;

    // A list entry shows its details; the field takes only its path.
    connect(combo, &QComboBox::currentIndexChanged, this, [combo](int index) {
      if (index >= 0) combo->setEditText(combo->itemData(index).toString());
    });
    connect(combo, &QComboBox::activated, this, [combo](int index) {
      if (index >= 0) combo->setEditText(combo->itemData(index).toString());
    });
    connect(combo, &QComboBox::editTextChanged, this, [this, com] { showNote(com); });
  }
  grid->setColumnStretch(2, 1);

  auto* file =
      namedLabel(QStringLiteral("PortsConfPath"),
                 QStringLiteral("Saved in ") + pathText(context_.configDir / "ports.conf"), this);
  file->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKBtn"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CancelBtn"));
  auto* network = new QPushButton(QStringLiteral("&Network line…"), this);
  network->setObjectName(QStringLiteral("NetworkLineBtn"));
  // The field that had the focus tells which COM port the line is for.
  network->setFocusPolicy(Qt::NoFocus);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(file, 1);
  buttons->addWidget(network);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addLayout(grid);
  layout->addLayout(buttons);

  connect(ok, &QPushButton::clicked, this, &PortDevicesForm::onOKBtnClicked);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(network, &QPushButton::clicked, this, &PortDevicesForm::onNetworkLineBtnClicked);
  rescan_.setSingleShot(true);
  rescan_.setInterval(kRescanDelayMs);
  connect(&rescan_, &QTimer::timeout, this, &PortDevicesForm::onRescanTimeout);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this,
          &PortDevicesForm::onWatcherDirectoryChanged);
}

void PortDevicesForm::load() {
  const auto ports = serial::readPortsConf(context_.configDir);
  for (const auto& [com, path] : ports)
    if (std::find(configured_.begin(), configured_.end(), path) == configured_.end())
      configured_.push_back(path);
  watchDeviceFolders();
  fillLists();
  for (int com = 1; com <= 8; ++com) {
    const auto it = ports.find(com);
    device(com)->setEditText(it != ports.end() ? QString::fromStdString(it->second) : QString());
    showNote(com);
  }
  device(1)->setFocus();
}

// /dev/serial and its by-id folder come and go with the first USB adapter
// plugged in and the last one pulled out: they are watched while they exist.
void PortDevicesForm::watchDeviceFolders() {
  const std::filesystem::path folders[] = {roots_.dev, roots_.dev / "serial",
                                           roots_.dev / "serial" / "by-id"};
  const QStringList watched = watcher_.directories();
  for (const auto& folder : folders) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec) && !watched.contains(pathText(folder)))
      watcher_.addPath(pathText(folder));
  }
}

void PortDevicesForm::onWatcherDirectoryChanged() {
  watchDeviceFolders();
  rescan_.start();
}

void PortDevicesForm::onRescanTimeout() {
  watchDeviceFolders();
  fillLists();
  for (int com = 1; com <= 8; ++com) showNote(com);
}

void PortDevicesForm::fillLists() {
  std::vector<serial::SerialDevice> devices = serial::discoverSerialDevices(roots_, mayOpen_);
  for (const std::string& path : configured_) {
    const bool found = std::any_of(devices.begin(), devices.end(),
                                   [&](const auto& device) { return device.path == path; });
    if (!found) devices.push_back(serial::describeDevicePath(path, roots_, mayOpen_));
  }
  QStringList entries;
  for (const auto& found : devices) entries << deviceListText(found);
  if (entries == listed_) return;
  listed_ = entries;
  for (QComboBox* combo : device_) {
    const QString typed = combo->currentText();
    const int cursor = combo->lineEdit()->cursorPosition();
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (std::size_t i = 0; i < devices.size(); ++i)
      combo->addItem(entries[static_cast<int>(i)], pathText(devices[i].path));
    combo->setCurrentIndex(-1);
    combo->setEditText(typed);
    combo->lineEdit()->setCursorPosition(cursor);
    // The entries are wider than the field: the list shows them whole.
    combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + kListMargin);
  }
}

void PortDevicesForm::showNote(int com) {
  const QString typed = device(com)->currentText().trimmed();
  device(com)->setToolTip(typed);
  const std::string path = typed.isEmpty() ? serial::defaultDevicePath(com) : typed.toStdString();
  const QString details = deviceDetails(serial::describeDevicePath(path, roots_, mayOpen_));
  deviceNote_[static_cast<std::size_t>(com - 1)]->setText(
      typed.isEmpty() ? QStringLiteral("default: ") + QString::fromStdString(path) +
                            (details.isEmpty() ? QString() : QStringLiteral(", ") + details)
                      : details);
}

int PortDevicesForm::focusedCom() const {
  const QWidget* focus = focusWidget();
  for (int com = 1; com <= 8; ++com)
    if (focus && (focus == device(com) || device(com)->isAncestorOf(focus))) return com;
  return 1;
}

void PortDevicesForm::onNetworkLineBtnClicked() {
  const int com = focusedCom();
  NetworkLineForm form(context_, com, device(com)->currentText(), this);
  if (context_.ui().execModal(form) != QDialog::Accepted) return;
  device(form.com())->setEditText(form.url());
  device(form.com())->setFocus();
}

void PortDevicesForm::onOKBtnClicked() {
  std::map<int, std::string> devices;
  for (int com = 1; com <= 8; ++com) {
    const QString typed = device(com)->currentText().trimmed();
    if (serial::isUrl(typed.toStdString())) {
      const QString refusal = networkLineRefusal(typed);
      if (!refusal.isEmpty()) {
        context_.ui().message(this, QStringLiteral("COM%1: ").arg(com) + refusal, kErrorTitle);
        device(com)->setFocus();
        return;
      }
    }
    devices[com] = typed.toStdString();
  }
  try {
    serial::updatePortsConf(context_.configDir, devices);
  } catch (const std::exception& failure) {
    context_.ui().message(this, QString::fromStdString(failure.what()), kErrorTitle);
    return;
  }
  accept();
}

}  // namespace orvane::admin
