#include "admin/core/scan_form.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "admin/core/admin_context.h"
#include "admin/core/network_scan.h"
#include "admin/core/ui_naming.h"

namespace orvane::admin {

ScanForm::ScanForm(AdminContext& context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      addrs_(namedLabel(QStringLiteral("addrs"), QString(), this)),
      dispBaud_(namedLabel(QStringLiteral("disp_baud"), QString(), this)),
      progress_(new QProgressBar(this)) {
  setObjectName(QStringLiteral("ScanForm"));
  setWindowTitle(QStringLiteral("Searching..."));
  auto* grid = new QGridLayout(this);
  grid->addWidget(namedLabel(QStringLiteral("Label2"), QStringLiteral("COM port:"), this), 0, 0);
  grid->addWidget(
      namedLabel(QStringLiteral("com_port"), QStringLiteral("COM%1").arg(context.ComPort), this), 0,
      1);
  grid->addWidget(namedLabel(QStringLiteral("Label4"), QStringLiteral("Baud rate:"), this), 1, 0);
  grid->addWidget(dispBaud_, 1, 1);
  grid->addWidget(namedLabel(QStringLiteral("Label1"), QStringLiteral("Address:"), this), 2, 0);
  grid->addWidget(addrs_, 2, 1);
  progress_->setObjectName(QStringLiteral("ScanProgress"));
  progress_->setRange(0, context.SearchHiAddress + 1);
  progress_->setValue(0);
  grid->addWidget(progress_, 3, 0, 1, 2);
  auto* stop = new QPushButton(QStringLiteral("Stop"), this);
  stop->setObjectName(QStringLiteral("StopBtn"));
  stop->setDefault(true);
  grid->addWidget(stop, 4, 0, 1, 2, Qt::AlignHCenter);
  setMinimumWidth(260);
  connect(stop, &QPushButton::clicked, this, &ScanForm::onStopBtnClicked);
}

void ScanForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (started_) return;
  started_ = true;
  QTimer::singleShot(0, this, &ScanForm::onFormActivate);
}

void ScanForm::onStopBtnClicked() {
  stopRequested_ = true;
  // A settle pause in progress need not be sat out: nothing follows it.
  context_.line().interruptPause();
}

void ScanForm::reject() {
  if (running_)
    onStopBtnClicked();
  else
    QDialog::reject();
}

void ScanForm::onFormActivate() {
  ScanHooks hooks;
  hooks.showAddress = [this](int address) {
    addrs_->setText(QString::number(address));
    progress_->setValue(address);
  };
  hooks.showBaudRate = [this](int rate) { dispBaud_->setText(QString::number(rate)); };
  hooks.appendRow = [this](int entryIndex) { emit moduleFound(entryIndex); };
  // While the scan holds the GUI thread, Stop is served at its yields; with
  // the line worker threaded the dialog's own loop serves it all the time.
  hooks.yield = [this] {
    if (!context_.line().threaded()) context_.ui().yield();
  };
  hooks.stopRequested = [this] { return stopRequested_; };
  // Said before the scan, so that the one rate shown while it runs is no
  // surprise.
  if (const auto note = fixedSpeedSearchNote(context_))
    context_.ui().message(this, QString::fromLocal8Bit(note->c_str()), QStringLiteral("Search"));
  running_ = true;
  scan_ = networkScan(context_, hooks);
  scan_.start([this] { onScanDone(); });
}

void ScanForm::onScanDone() {
  running_ = false;
  const ScanOutcome outcome = scan_.result();
  progress_->setValue(progress_->maximum());
  if (!outcome.lineError.empty())
    context_.ui().message(this, QString::fromLocal8Bit(outcome.lineError.c_str()),
                          QStringLiteral("Search"));
  accept();
}

}  // namespace orvane::admin
