#include "admin/core/orvane_form.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPrinter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "admin/core/about_form.h"
#include "admin/core/admin_context.h"
#include "admin/core/button_icons.h"
#include "admin/core/com_port_form.h"
#include "admin/core/command_link.h"
#include "admin/core/exit_form.h"
#include "admin/core/line_monitor_form.h"
#include "admin/core/list_row.h"
#include "admin/core/map_file.h"
#include "admin/core/module_reader.h"
#include "admin/core/scan_form.h"
#include "admin/core/search_form.h"
#include "admin/core/startup.h"
#include "admin/core/ui_naming.h"
#include "admin/core/window_dispatch.h"

namespace orvane::admin {

namespace {

QString rowText(const std::string& row) {
  return QString::fromLatin1(row.data(), static_cast<qsizetype>(row.size()));
}

const QString kNoModuleSelected = QStringLiteral("No module selected.");

}  // namespace

OrvaneForm::OrvaneForm(AdminContext& context) : context_(context) {
  setObjectName(QStringLiteral("OrvaneForm"));
  setWindowTitle(QStringLiteral("Orvane Administration Utility for Windows"));
  setWindowIcon(QIcon(programPicture(64)));
  buildControls();
  buildMenus();
}

OrvaneForm::~OrvaneForm() { delete lineMonitor_; }

void OrvaneForm::buildControls() {
  auto* central = new QWidget(this);
  setCentralWidget(central);
  auto* panel = new QFrame(central);
  panel->setObjectName(QStringLiteral("Panel3D1"));
  panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  auto* panelGrid = new QGridLayout(panel);
  const std::array<std::pair<const char*, const char*>, 5> pictures{{
      {"SearchBtn", "Search"},
      {"TerminalBtn", "Terminal"},
      {"ConfigBtn", "Configuration"},
      {"DiagBtn", "Diagnostic"},
      {"CalibBtn", "Calibration"},
  }};
  const std::array<const char*, 5> promptNames{
      {"SearchPrompt", "TerminalPrompt", "ConfigPrompt", "DiagPrompt", "CalibPrompt"}};
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    auto* button = new QToolButton(panel);
    button->setObjectName(QString::fromLatin1(pictures[i].first));
    button->setIcon(buttonIcon(static_cast<ButtonPicture>(i)));
    button->setIconSize(QSize(32, 32));
    button->setAutoRaise(false);
    button->setAccessibleName(QString::fromLatin1(pictures[i].second));
    auto* prompt = new QLabel(QString::fromLatin1(pictures[i].second), panel);
    prompt->setObjectName(QString::fromLatin1(promptNames[i]));
    QSizePolicy keepPlace = prompt->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    prompt->setSizePolicy(keepPlace);
    prompt->hide();
    panelGrid->addWidget(button, 0, static_cast<int>(i), Qt::AlignHCenter);
    panelGrid->addWidget(prompt, 1, static_cast<int>(i), Qt::AlignHCenter);
    buttons_[i] = button;
    prompts_[i] = prompt;
  }
  panelGrid->setColumnStretch(static_cast<int>(pictures.size()), 1);

  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  auto* header = new QLabel(QString::fromLatin1(kListHeader), central);
  header->setObjectName(QStringLiteral("Label1"));
  header->setFont(fixed);
  device_ = new QListWidget(central);
  device_->setObjectName(QStringLiteral("Device"));
  device_->setFont(fixed);
  device_->setMinimumSize(QFontMetrics(fixed).horizontalAdvance(QString(72, QLatin1Char('W'))),
                          240);

  auto* layout = new QVBoxLayout(central);
  layout->addWidget(panel);
  layout->addWidget(header);
  layout->addWidget(device_);

  for (QWidget* background :
       std::initializer_list<QWidget*>{central, panel, header, device_, device_->viewport()}) {
    background->setMouseTracking(true);
    background->installEventFilter(this);
  }
  for (auto* prompt : prompts_) prompt->installEventFilter(this);
  for (auto* button : buttons_) button->installEventFilter(this);

  connect(buttons_[0], &QToolButton::clicked, this, &OrvaneForm::onSearchBtnClicked);
  connect(buttons_[1], &QToolButton::clicked, this, &OrvaneForm::onTerminalBtnClicked);
  connect(buttons_[2], &QToolButton::clicked, this, &OrvaneForm::onConfigBtnClicked);
  connect(buttons_[3], &QToolButton::clicked, this, &OrvaneForm::onDiagBtnClicked);
  connect(buttons_[4], &QToolButton::clicked, this, &OrvaneForm::onCalibBtnClicked);
  connect(device_, &QListWidget::currentRowChanged, this, &OrvaneForm::onDeviceCurrentRowChanged);
}

void OrvaneForm::buildMenus() {
  const auto menu = [this](const char* name, const QString& caption) {
    QMenu* m = menuBar()->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    return m;
  };
  const auto item = [this](QWidget* owner, const char* name, const QString& caption,
                           void (OrvaneForm::*slot)()) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    owner->addAction(action);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  QMenu* file = menu("mnuFile", QStringLiteral("&File"));
  item(file, "mnuSave", QStringLiteral("&Save"), &OrvaneForm::onMnuSaveClick);
  item(file, "mnuPrint", QStringLiteral("&Print"), &OrvaneForm::onMnuPrintClick);
  item(file, "mnuExit", QStringLiteral("E&xit"), &OrvaneForm::onMnuExitClick);
  QMenu* network = menu("mnuNetwork", QStringLiteral("&Network"));
  item(network, "mnuComPort", QStringLiteral("&ComPort..."), &OrvaneForm::onMnuComPortClick);
  item(network, "mnuSearch", QStringLiteral("&Search..."), &OrvaneForm::onSearchBtnClicked);
  item(network, "mnuLineMonitor", QStringLiteral("&Line Monitor..."),
       &OrvaneForm::onMnuLineMonitorClick);
  QMenu* operation = menu("mnuOperation", QStringLiteral("&Operation"));
  item(operation, "mnuTerminal", QStringLiteral("&Terminal..."), &OrvaneForm::onTerminalBtnClicked);
  item(operation, "mnuConfiguration", QStringLiteral("&Configuration..."),
       &OrvaneForm::onConfigBtnClicked);
  item(operation, "mnuMonitor", QStringLiteral("&Monitor..."), &OrvaneForm::onMnuMonitorClick);
  item(operation, "mnuDiagnostic", QStringLiteral("&Diagnostic..."), &OrvaneForm::onDiagBtnClicked);
  item(operation, "mnuCalibration", QStringLiteral("C&alibration..."),
       &OrvaneForm::onCalibBtnClicked);
  item(menuBar(), "mnuAbout", QStringLiteral("&About!"), &OrvaneForm::onMnuAboutClick);
}

void OrvaneForm::load() {
  centreOnScreen(*this);
  runStartup(context_, this);
  shownPrompt_ = 0;
  firstActivation_ = true;
}

std::vector<std::string> OrvaneForm::rows() const {
  std::vector<std::string> result;
  for (int i = 0; i < device_->count(); ++i) {
    const QByteArray bytes = device_->item(i)->text().toLatin1();
    result.emplace_back(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  }
  return result;
}

void OrvaneForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow())
    QTimer::singleShot(0, this, &OrvaneForm::onFormActivate);
}

void OrvaneForm::onFormActivate() {
  setWindowTitle(QStringLiteral(" Administration Utility for Windows"));
  if (!firstActivation_) return;
  firstActivation_ = false;
  onSearchBtnClicked();
}

void OrvaneForm::closeEvent(QCloseEvent* event) {
  if (exiting_) {
    if (lineMonitor_) lineMonitor_->close();
    event->accept();
    return;
  }
  event->ignore();
  QTimer::singleShot(0, this, &OrvaneForm::onMnuExitClick);
}

bool OrvaneForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
    int prompt = 0;
    for (std::size_t i = 0; i < buttons_.size(); ++i)
      if (watched == buttons_[i]) prompt = static_cast<int>(i) + 1;
    showPrompt(prompt);
  }
  return QMainWindow::eventFilter(watched, event);
}

void OrvaneForm::showPrompt(int prompt) {
  if (prompt == shownPrompt_) return;
  for (auto* label : prompts_) label->hide();
  if (prompt > 0) prompts_[static_cast<std::size_t>(prompt - 1)]->show();
  shownPrompt_ = prompt;
}

void OrvaneForm::appendRow(int entryIndex) {
  device_->addItem(rowText(buildListRow(context_, entryIndex)));
}

void OrvaneForm::replaceRow(int entryIndex) {
  if (entryIndex < 0 || entryIndex >= device_->count()) return;
  const QSignalBlocker quiet(device_);
  delete device_->takeItem(entryIndex);
  device_->insertItem(entryIndex, rowText(buildListRow(context_, entryIndex)));
}

void OrvaneForm::selectRow(int row) {
  const QSignalBlocker quiet(device_);
  if (row >= 0 && row < device_->count()) device_->setCurrentRow(row);
}

void OrvaneForm::onDeviceCurrentRowChanged(int row) {
  if (row >= 0) context_.SelectedIndex = row;
}

bool OrvaneForm::openWindow(const QString& windowName) {
  auto window = context_.windows.create(windowName, context_, this);
  if (!window) return false;
  context_.ui().execModal(*window);
  return true;
}

void OrvaneForm::onSearchBtnClicked() {
  {
    SearchForm search(context_, this);
    context_.ui().execModal(search);
  }
  context_.ModuleCount = 0;
  if (context_.SearchConfirmed) {
    {
      const QSignalBlocker quiet(device_);
      device_->clear();
    }
    ScanForm scan(context_, this);
    connect(&scan, &ScanForm::moduleFound, this, &OrvaneForm::appendRow);
    context_.ui().execModal(scan);
    if (context_.ModuleCount == 0) {
      context_.ui().message(this, QStringLiteral("No module found!"), QStringLiteral("Search"));
    } else {
      context_.SelectedIndex = 0;
      selectRow(0);
      sendSearchEndBroadcast();
    }
  }
  device_->setFocus();
}

// "#**" tells every module the search is over; no module answers it.
void OrvaneForm::sendSearchEndBroadcast() {
  context_.LastCommand = "#**";
  Exchange(context_, {0, effectiveBaudCode(context_, 0)}, 0, context_.ReplyTimeout);
}

void OrvaneForm::onTerminalBtnClicked() {
  openWindow(QStringLiteral("TerminalForm"));
  context_.ui().setBusyCursor(true);
  for (int i = 0; i < context_.ModuleCount; ++i) {
    refreshEntry(context_, i);
    replaceRow(i);
  }
  context_.ui().setBusyCursor(false);
  if (context_.SelectedIndex >= 0) selectRow(context_.SelectedIndex);
  device_->setFocus();
}

void OrvaneForm::runDispatch(const Dispatch& dispatch, bool rebuildOnChange) {
  if (!dispatch.message.isEmpty()) context_.ui().message(this, dispatch.message, dispatch.title);
  if (!dispatch.window.isEmpty() && openWindow(dispatch.window) && rebuildOnChange &&
      context_.ConfigResult == 1)
    replaceRow(context_.SelectedIndex);
  if (context_.SelectedIndex >= 0) selectRow(context_.SelectedIndex);
  device_->setFocus();
}

void OrvaneForm::onConfigBtnClicked() {
  if (context_.SelectedIndex < 0) {
    context_.ui().message(this, kNoModuleSelected, kErrorTitle);
    return;
  }
  runDispatch(configurationDispatch(
                  context_.ModuleList.at(static_cast<std::size_t>(context_.SelectedIndex))),
              true);
}

void OrvaneForm::onDiagBtnClicked() {
  if (context_.SelectedIndex < 0) {
    context_.ui().message(this, kNoModuleSelected, kErrorTitle);
    return;
  }
  runDispatch(
      diagnosticDispatch(context_.ModuleList.at(static_cast<std::size_t>(context_.SelectedIndex))),
      false);
}

void OrvaneForm::onCalibBtnClicked() {
  if (context_.SelectedIndex < 0) {
    context_.ui().message(this, kNoModuleSelected, kErrorTitle);
    return;
  }
  runDispatch(
      calibrationDispatch(context_.ModuleList.at(static_cast<std::size_t>(context_.SelectedIndex))),
      false);
}

void OrvaneForm::onMnuComPortClick() {
  ComPortForm form(context_, this);
  context_.ui().execModal(form);
  device_->setFocus();
}

// One Line Monitor at a time: the menu brings the open one to the front.
void OrvaneForm::onMnuLineMonitorClick() {
  if (!lineMonitor_) lineMonitor_ = new LineMonitorForm(context_);
  lineMonitor_->show();
  lineMonitor_->raise();
  lineMonitor_->activateWindow();
}

void OrvaneForm::onMnuMonitorClick() {
  openWindow(QStringLiteral("MonitorForm"));
  device_->setFocus();
}

void OrvaneForm::onMnuAboutClick() {
  AboutForm form(this);
  context_.ui().execModal(form);
  device_->setFocus();
}

void OrvaneForm::onMnuSaveClick() {
  const QString path = context_.ui().saveFileName(
      this, QStringLiteral("Save File"), QStringLiteral("MAP Files (*.map);;All Files (*)"));
  if (!path.isEmpty()) {
    try {
      writeMapFile(path.toStdString(), context_.ComPort, rows());
    } catch (const std::exception&) {
      // A map that cannot be written ends the command without a word.
    }
  }
  device_->setFocus();
}

void OrvaneForm::onMnuPrintClick() {
  QPrinter printer;
  if (context_.ui().printDialog(this, printer, QStringLiteral("Print"))) {
    auto lines = rows();
    lines.emplace_back();
    printRows(printer, lines);
  }
  device_->setFocus();
}

void OrvaneForm::onMnuExitClick() {
  ExitForm form(context_, rows(), this);
  if (context_.ui().execModal(form) != QDialog::Accepted) return;
  exiting_ = true;
  close();
}

}  // namespace orvane::admin
