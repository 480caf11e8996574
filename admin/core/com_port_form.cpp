#include "admin/core/com_port_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <memory>

#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/number_input.h"
#include "admin/core/port_devices_form.h"
#include "admin/core/spin_button.h"
#include "admin/core/ui_naming.h"
#include "protocol/catalogue.h"
#include "serial/line.h"
#include "serial/port_names.h"

namespace orvane::admin {

namespace {

constexpr int kMinimumTimeout = 100;
// The long reply time-out is 5 times the reply time-out and must still fit
// in 16 bits.
constexpr int kMaximumTimeout = 32767 / 5;
constexpr int kNoBaudCode = 8;  // sets 9600
// A device's path beyond this width is shortened in its middle (the adapter's
// name stays whole); the tooltip shows it all.
constexpr int kDeviceLabelWidth = 300;
constexpr int kShortestPathWidth = 80;

QLabel* label(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

QString shortDeviceText(const serial::SerialDevice& device, const QFontMetrics& metrics) {
  const QString adapter =
      device.usb ? QStringLiteral(", ") + QString::fromStdString(adapterName(*device.usb))
                 : QString();
  const int pathWidth =
      std::max(kShortestPathWidth, kDeviceLabelWidth - metrics.horizontalAdvance(adapter));
  return metrics.elidedText(QString::fromStdString(device.path.string()), Qt::ElideMiddle,
                            pathWidth) +
         adapter;
}

}  // namespace

ComPortForm::ComPortForm(AdminContext& context, QWidget* parent, serial::DeviceRoots roots)
    : QDialog(parent), context_(context), roots_(std::move(roots)) {
  setObjectName(QStringLiteral("ComPortForm"));
  setWindowTitle(QStringLiteral("COM Port"));
  buildControls();
  load();
}

void ComPortForm::buildControls() {
  auto* comFrame = new QGroupBox(QStringLiteral("COM port"), this);
  auto* comGrid = new QGridLayout(comFrame);
  for (int i = 1; i <= 8; ++i) {
    auto* option = new QRadioButton(QStringLiteral("COM%1").arg(i), comFrame);
    option->setObjectName(indexedName(QStringLiteral("ComOption"), i));
    auto* device = namedLabel(indexedName(QStringLiteral("ComDevice"), i), QString(), comFrame);
    device->setMinimumWidth(kDeviceLabelWidth);
    comGrid->addWidget(option, i - 1, 0);
    comGrid->addWidget(device, i - 1, 1);
    comOption_[static_cast<std::size_t>(i - 1)] = option;
    comDevice_[static_cast<std::size_t>(i - 1)] = device;
  }

  auto* parityFrame = new QGroupBox(QStringLiteral("Parity"), this);
  auto* parityColumn = new QVBoxLayout(parityFrame);
  const char* parityNames[] = {"None", "Odd", "Even"};
  for (int i = 0; i < 3; ++i) {
    auto* option = new QRadioButton(QString::fromLatin1(parityNames[i]), parityFrame);
    option->setObjectName(indexedName(QStringLiteral("ParityOption"), i));
    parityColumn->addWidget(option);
    parityOption_[static_cast<std::size_t>(i)] = option;
  }

  auto* baudFrame = new QGroupBox(QStringLiteral("Baud rate to search"), this);
  auto* baudGrid = new QGridLayout(baudFrame);
  for (int code = 0; code < 8; ++code) {
    auto* check = new QCheckBox(
        QString::fromLatin1(protocol::baudRateTexts()[static_cast<std::size_t>(code)]), baudFrame);
    check->setObjectName(indexedName(QStringLiteral("BaudCheck"), code));
    baudGrid->addWidget(check, code % 4, code / 4);
    baudCheck_[static_cast<std::size_t>(code)] = check;
  }

  auto* dataFrame = new QGroupBox(QStringLiteral("Data"), this);
  auto* dataGrid = new QGridLayout(dataFrame);
  dataBits_ = new QLineEdit(dataFrame);
  dataBits_->setObjectName(QStringLiteral("DataBits"));
  dataBits_->setMaximumWidth(40);
  auto* spin = new SpinButton(QStringLiteral("DataBitSpin"), dataFrame);
  stopBits_ = new QComboBox(dataFrame);
  stopBits_->setObjectName(QStringLiteral("StopBits"));
  dataGrid->addWidget(label(QStringLiteral("Data bits:"), dataFrame), 0, 0);
  dataGrid->addWidget(dataBits_, 0, 1);
  dataGrid->addWidget(spin, 0, 2);
  dataGrid->addWidget(label(QStringLiteral("Stop bits:"), dataFrame), 1, 0);
  dataGrid->addWidget(stopBits_, 1, 1, 1, 2);

  timeout_ = new QLineEdit(this);
  timeout_->setObjectName(QStringLiteral("Timeout"));
  timeout_->setMaximumWidth(60);
  auto* timeoutRow = new QHBoxLayout;
  timeoutRow->addWidget(label(QStringLiteral("Timeout:"), this));
  timeoutRow->addWidget(timeout_);
  timeoutRow->addWidget(label(QStringLiteral("msec"), this));
  timeoutRow->addStretch();

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKBtn"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CancelBtn"));
  auto* devices = new QPushButton(QStringLiteral("&Devices..."), this);
  devices->setObjectName(QStringLiteral("DevicesBtn"));
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addSpacing(12);
  buttons->addWidget(devices);
  buttons->addStretch();

  auto* left = new QVBoxLayout;
  left->addWidget(comFrame);
  left->addWidget(baudFrame);
  auto* middle = new QVBoxLayout;
  middle->addWidget(parityFrame);
  middle->addWidget(dataFrame);
  middle->addLayout(timeoutRow);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(middle);
  layout->addLayout(buttons);

  DigitKeys(context_, *dataBits_);
  DigitKeys(context_, *timeout_);
  connect(ok, &QPushButton::clicked, this, &ComPortForm::onOKBtnClicked);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(devices, &QPushButton::clicked, this, &ComPortForm::onDevicesBtnClicked);
  connect(spin, &SpinButton::spinUp, this, &ComPortForm::onDataBitSpinUp);
  connect(spin, &SpinButton::spinDown, this, &ComPortForm::onDataBitSpinDown);
}

void ComPortForm::load() {
  showDevices();
  stopBits_->addItems({QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")});
  timeout_->setText(QString::number(context_.ReplyTimeout));
  const int com = context_.ComPort;
  if (com < 1 || com > 8) {
    dataBits_->setText(QStringLiteral("8"));
    return;  // a port without settings (COM0 from a bad COM.CFG): nothing to show
  }
  const PortSetting& setting = context_.portSetting(com);
  comOption_[static_cast<std::size_t>(com - 1)]->setChecked(true);
  if (setting.Parity >= 0 && setting.Parity <= 2)
    parityOption_[static_cast<std::size_t>(setting.Parity)]->setChecked(true);
  for (std::size_t code = 0; code < 8; ++code) {
    const int flag = setting.SearchFlags[code];
    baudCheck_[code]->setCheckState(flag == 1   ? Qt::Checked
                                    : flag == 2 ? Qt::PartiallyChecked
                                                : Qt::Unchecked);
  }
  dataBits_->setText(QString::number(setting.DataBits));
  stopBits_->setCurrentIndex(setting.StopBits);
}

// The device each COM number opens by the same rule the line uses. A
// ports.conf that cannot be read leaves every device unknown: an open fails
// with its text, which the tooltips show.
void ComPortForm::showDevices() {
  std::map<int, std::string> ports;
  QString unreadable;
  try {
    ports = serial::readPortsConf(context_.configDir);
  } catch (const serial::SerialError& failure) {
    unreadable = QString::fromLocal8Bit(failure.what());
  }
  for (int com = 1; com <= 8; ++com) {
    QLabel* label = comDevice_[static_cast<std::size_t>(com - 1)];
    QRadioButton* option = comOption_[static_cast<std::size_t>(com - 1)];
    if (!unreadable.isEmpty()) {
      label->setText(QStringLiteral("unknown: ports.conf cannot be read"));
      label->setToolTip(unreadable);
      option->setToolTip(unreadable);
      continue;
    }
    const auto device = serial::describeDevicePath(serial::devicePathForCom(com, ports), roots_,
                                                   serial::userMayOpen);
    const QString full = comOptionText(com, device);
    label->setText(shortDeviceText(device, QFontMetrics(label->font())));
    label->setToolTip(full);
    option->setToolTip(full);
  }
}

void ComPortForm::onDevicesBtnClicked() {
  std::unique_ptr<PortDevicesForm> devices;
  try {
    devices = std::make_unique<PortDevicesForm>(context_, roots_, serial::userMayOpen, this);
  } catch (const serial::SerialError& failure) {
    context_.ui().message(this, QString::fromLocal8Bit(failure.what()), kErrorTitle);
    return;
  }
  if (context_.ui().execModal(*devices) == QDialog::Accepted) showDevices();
}

void ComPortForm::onDataBitSpinUp() {
  const auto value = digitsValue(dataBits_->text());
  if (value && *value < 8) dataBits_->setText(QString::number(*value + 1));
}

void ComPortForm::onDataBitSpinDown() {
  const auto value = digitsValue(dataBits_->text());
  if (value && *value > 4) dataBits_->setText(QString::number(*value - 1));
}

int ComPortForm::checkedComOption() const {
  for (int i = 1; i <= 8; ++i)
    if (comOption_[static_cast<std::size_t>(i - 1)]->isChecked()) return i;
  return 0;
}

bool ComPortForm::numbersValid() {
  const std::pair<QLineEdit*, int> fields[] = {{dataBits_, 32767}, {timeout_, kMaximumTimeout}};
  for (const auto& [field, limit] : fields) {
    const QString refusal = numberRefusal(field->text(), limit);
    if (refusal.isEmpty()) continue;
    context_.ui().message(this, refusal, kErrorTitle);
    field->setFocus();
    field->selectAll();
    return false;
  }
  return true;
}

void ComPortForm::applyPortChoice() {
  const int old = context_.ComPort;
  const int chosen = checkedComOption();
  if (chosen == 0) return;
  // The chosen port is always opened anew, also when nothing changed: a
  // handle left over from an adapter that was pulled out never survives OK,
  // a port that did not open at start-up is tried again, and a device newly
  // named in ports.conf (chosen in Devices...) takes effect at once.
  if (chosen == old) context_.OrvComm.close(old);
  context_.ComPort = chosen;
  context_.OrvComm.open(chosen);
  if (chosen != old && context_.OrvComm.isOpen(old)) context_.OrvComm.close(old);
}

void ComPortForm::onOKBtnClicked() {
  if (!numbersValid()) return;
  const int old = context_.ComPort;
  try {
    applyPortChoice();
    PortSetting& setting = context_.portSetting(context_.ComPort);
    for (int i = 0; i < 3; ++i)
      if (parityOption_[static_cast<std::size_t>(i)]->isChecked()) setting.Parity = i;
    int lowest = kNoBaudCode;
    for (int code = 7; code >= 0; --code) {
      const Qt::CheckState state = baudCheck_[static_cast<std::size_t>(code)]->checkState();
      const int flag = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
      setting.SearchFlags[static_cast<std::size_t>(code)] = flag;
      if (flag == 1) lowest = code;
    }
    setting.DataBits = *digitsValue(dataBits_->text());
    setting.StopBits = stopBits_->currentIndex();
    SetPortBaud(context_, context_.ComPort, lowest);
    if (*digitsValue(timeout_->text()) < kMinimumTimeout) {
      context_.ui().message(this,
                            QStringLiteral("TimeOut Value must greater than or equal to 100."));
      timeout_->setText(QString::number(kMinimumTimeout));
    }
    context_.ReplyTimeout = *digitsValue(timeout_->text());
    context_.LongReplyTimeout = 5 * context_.ReplyTimeout;
    context_.ui().message(this, QStringLiteral("COM Port configuration complete."));
    accept();
  } catch (const std::exception& failure) {
    context_.ui().message(this, QString::fromLocal8Bit(failure.what()));
    // The port that is actually open stays in use: after the old one was
    // closed for a new one, going back to the old number would leave none.
    if (!(context_.OrvComm.isOpen(context_.ComPort) && !context_.OrvComm.isOpen(old)))
      context_.ComPort = old;
    reject();
  }
}

}  // namespace orvane::admin
