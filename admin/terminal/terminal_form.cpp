#include "admin/terminal/terminal_form.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/ui_naming.h"
#include "admin/terminal/terminal_display.h"

namespace orvane::admin {

namespace {

QString stopBitsText(int code) {
  switch (code) {
    case 1:
      return QStringLiteral("1.5");
    case 2:
      return QStringLiteral("2");
    default:
      return QStringLiteral("1");
  }
}

QString parityText(int code) {
  switch (code) {
    case 1:
      return QStringLiteral("Odd");
    case 2:
      return QStringLiteral("Even");
    default:
      return QStringLiteral("None");
  }
}

}  // namespace

TerminalForm::TerminalForm(AdminContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName(QStringLiteral("TerminalForm"));
  setWindowTitle(QStringLiteral("Terminal Emulation"));
  buildControls();
  load();
}

void TerminalForm::buildControls() {
  auto* displayFrame = new QGroupBox(this);
  displayFrame->setObjectName(QStringLiteral("Frame1"));
  terminal_ = new TerminalDisplay(displayFrame);
  cmdText_ = terminal_->cmdText();
  cmdText_->installEventFilter(this);
  auto* displayLayout = new QVBoxLayout(displayFrame);
  displayLayout->addWidget(terminal_);

  auto* exitBtn = addButton(QStringLiteral("ExitBtn"), QStringLiteral("Exit"));
  connect(exitBtn, &QPushButton::clicked, this, &QDialog::accept);

  auto* side = new QVBoxLayout;
  side->addWidget(buildPortFrame());
  side->addWidget(buildLogFrame());
  side->addWidget(buildBatchFrame());
  side->addStretch();
  side->addWidget(exitBtn, 0, Qt::AlignRight);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(displayFrame, 1);
  layout->addLayout(side);
  cmdText_->setFocus();
}

QPushButton* TerminalForm::addButton(const QString& name, const QString& caption) {
  // Enter belongs to the command entry: no button of this window is a default one.
  return namedButton(name, caption, this);
}

QGroupBox* TerminalForm::buildPortFrame() {
  auto* frame = new QGroupBox(this);
  frame->setObjectName(QStringLiteral("Frame2"));
  auto* grid = new QGridLayout(frame);
  const std::pair<QString, QString> rows[] = {
      {QStringLiteral("Label1"), QStringLiteral("COM port:")},
      {QStringLiteral("Label3"), QStringLiteral("Data bits:")},
      {QStringLiteral("Label4"), QStringLiteral("Stop bits:")},
      {QStringLiteral("Label5"), QStringLiteral("Parity:")}};
  const QString values[] = {QStringLiteral("ComPort"), QStringLiteral("DataBits"),
                            QStringLiteral("StopBits"), QStringLiteral("Parity")};
  for (int row = 0; row < 4; ++row) {
    grid->addWidget(namedLabel(rows[row].first, rows[row].second, frame), row, 0);
    grid->addWidget(namedLabel(values[row], QString(), frame), row, 1);
  }
  checkSumEnable_ = new QCheckBox(QStringLiteral("Checksum enable"), frame);
  checkSumEnable_->setObjectName(QStringLiteral("CheckSumEnable"));
  grid->addWidget(checkSumEnable_, 4, 0, 1, 2);
  auto* repeatCmdBtn =
      addButton(QStringLiteral("RepeatCmdBtn"), QStringLiteral("Repeat Command..."));
  grid->addWidget(repeatCmdBtn, 5, 0, 1, 2);
  connect(repeatCmdBtn, &QPushButton::clicked, this, &TerminalForm::onRepeatCmdBtnClicked);
  return frame;
}

QGroupBox* TerminalForm::buildLogFrame() {
  auto* frame = new QGroupBox(this);
  frame->setObjectName(QStringLiteral("Frame3"));
  logFileName_ = new QLineEdit(frame);
  logFileName_->setObjectName(QStringLiteral("LogFileName"));
  auto* logDialogBtn = addButton(QStringLiteral("LogDialogBtn"), QStringLiteral("..."));
  logToFile_ = new QCheckBox(QStringLiteral("Log to file"), frame);
  logToFile_->setObjectName(QStringLiteral("LogToFile"));
  auto* grid = new QGridLayout(frame);
  grid->addWidget(namedLabel(QStringLiteral("Label6"), QStringLiteral("Log file:"), frame), 0, 0);
  grid->addWidget(logFileName_, 1, 0);
  grid->addWidget(logDialogBtn, 1, 1);
  grid->addWidget(logToFile_, 2, 0, 1, 2);
  connect(logDialogBtn, &QPushButton::clicked, this, &TerminalForm::onLogDialogBtnClicked);
  connect(logToFile_, &QCheckBox::clicked, this, &TerminalForm::onLogToFileClicked);
  return frame;
}

QGroupBox* TerminalForm::buildBatchFrame() {
  auto* frame = new QGroupBox(this);
  frame->setObjectName(QStringLiteral("Frame4"));
  batchFileName_ = new QLineEdit(frame);
  batchFileName_->setObjectName(QStringLiteral("BatchFileName"));
  auto* batchDialogBtn = addButton(QStringLiteral("BatchDialogBtn"), QStringLiteral("..."));
  runBatchBtn_ = addButton(QStringLiteral("RunBatchBtn"), QStringLiteral("Run"));
  stepBatchBtn_ = addButton(QStringLiteral("StepBatchBtn"), QStringLiteral("Step"));
  stopBatchBtn_ = addButton(QStringLiteral("StopBatchBtn"), QStringLiteral("Stop"));
  displayBatchBtn_ = addButton(QStringLiteral("DisplayBatchBtn"), QStringLiteral("Display"));
  goTopBtn_ = addButton(QStringLiteral("GoTopBtn"), QStringLiteral("Go Top"));
  repeatBtn_ = addButton(QStringLiteral("RepeatBtn"), QStringLiteral("Repeat..."));

  auto* grid = new QGridLayout(frame);
  grid->addWidget(namedLabel(QStringLiteral("Label7"), QStringLiteral("Batch file:"), frame), 0, 0);
  grid->addWidget(batchFileName_, 1, 0, 1, 2);
  grid->addWidget(batchDialogBtn, 1, 2);
  grid->addWidget(runBatchBtn_, 2, 0);
  grid->addWidget(stepBatchBtn_, 2, 1);
  grid->addWidget(stopBatchBtn_, 2, 2);
  grid->addWidget(displayBatchBtn_, 3, 0);
  grid->addWidget(goTopBtn_, 3, 1);
  grid->addWidget(repeatBtn_, 3, 2);

  connect(batchDialogBtn, &QPushButton::clicked, this, &TerminalForm::onBatchDialogBtnClicked);
  connect(runBatchBtn_, &QPushButton::clicked, this, &TerminalForm::onRunBatchBtnClicked);
  connect(stepBatchBtn_, &QPushButton::clicked, this, &TerminalForm::onStepBatchBtnClicked);
  connect(stopBatchBtn_, &QPushButton::clicked, this, &TerminalForm::onStopBatchBtnClicked);
  connect(displayBatchBtn_, &QPushButton::clicked, this, &TerminalForm::onDisplayBatchBtnClicked);
  connect(goTopBtn_, &QPushButton::clicked, this, &TerminalForm::onGoTopBtnClicked);
  connect(repeatBtn_, &QPushButton::clicked, this, &TerminalForm::onRepeatBtnClicked);
  return frame;
}

void TerminalForm::load() {
  ring_.clear();
  terminal_->showLines(ring_.lines(), ring_.entryRow());
  context_.BatchRepeatCount = 1;
  refreshBatchButtons();

  findChild<QLabel*>(QStringLiteral("ComPort"))
      ->setText(QStringLiteral("COM%1").arg(context_.ComPort));
  findChild<QLabel*>(QStringLiteral("DataBits"))->setText(QStringLiteral("8"));
  PortSetting port;
  if (context_.ComPort >= 1 && context_.ComPort <= kComPortCount)
    port = context_.portSetting(context_.ComPort);
  findChild<QLabel*>(QStringLiteral("StopBits"))->setText(stopBitsText(port.StopBits));
  findChild<QLabel*>(QStringLiteral("Parity"))->setText(parityText(port.Parity));

  const int selected = context_.SelectedIndex;
  checkSumEnable_->setChecked(
      selected >= 0 && selected < kModuleListSize &&
      context_.ModuleList[static_cast<std::size_t>(selected)].ChecksumFlag != 0);
}

bool TerminalForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched != cmdText_ || event->type() != QEvent::KeyPress)
    return QDialog::eventFilter(watched, event);
  const auto key = static_cast<QKeyEvent*>(event)->key();
  const std::string current = cmdText_->text().toStdString();
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      onCmdTextEnter();
      return true;
    case Qt::Key_Up:
      cmdText_->setText(QString::fromStdString(history_.older(current)));
      return true;
    case Qt::Key_Down:
      cmdText_->setText(QString::fromStdString(history_.newer(current)));
      return true;
    default:
      return QDialog::eventFilter(watched, event);
  }
}

void TerminalForm::onCmdTextEnter() {
  const std::string command = cmdText_->text().toStdString();
  history_.add(command);
  sendCommand(command, AddressingRule::Typed);
}

bool TerminalForm::sendCommand(const std::string& command, AddressingRule rule) {
  context_.LastCommand = command;
  logLine(command);
  Exchange(context_, terminalLink(context_, command, checkSumEnable_->isChecked(), rule), 0,
           context_.LongReplyTimeout);
  // The port is not open or the adapter is gone: say so instead of showing
  // it as a module that did not answer.
  const bool lineWorks = context_.LastLinkError.empty();
  if (!lineWorks)
    context_.ui().message(this, QString::fromLocal8Bit(context_.LastLinkError.c_str()),
                          kErrorTitle);
  // A rate the line at a fixed speed could not take: said once per port, the
  // exchange itself went out at the line's speed.
  if (!context_.LastLinkNote.empty() && context_.OrvComm.firstFixedSpeedNotice(context_.ComPort))
    context_.ui().message(this, QString::fromLocal8Bit(context_.LastLinkNote.c_str()));
  showExchange(command, context_.LastReply);
  return lineWorks;
}

void TerminalForm::showExchange(const std::string& command, const std::string& reply) {
  ring_.append(command, reply);
  cmdText_->clear();
  terminal_->showLines(ring_.lines(), ring_.entryRow());
}

void TerminalForm::done(int result) {
  closed_ = true;
  stopBatch_ = true;
  batch_.close();
  log_.close();
  QDialog::done(result);
}

}  // namespace orvane::admin
