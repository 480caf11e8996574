#include "admin/core/line_monitor_form.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QVBoxLayout>

#include "admin/core/admin_context.h"
#include "admin/core/local_file_path.h"
#include "admin/core/trace_feed.h"
#include "admin/core/trace_view.h"
#include "admin/core/ui_naming.h"
#include "serial/file_write.h"

namespace orvane::admin {

LineMonitorForm::LineMonitorForm(AdminContext& context)
    : QWidget(nullptr, Qt::Window),
      context_(context),
      traffic_(new TraceView(LineMonitorLog::kCapacity, this)),
      addressFilter_(new QLineEdit(this)),
      pauseButton_(namedButton(QStringLiteral("PauseBtn"), QStringLiteral("&Pause"), this)),
      lineCount_(namedLabel(QStringLiteral("LineCount"), QString(), this)) {
  setObjectName(QStringLiteral("LineMonitorForm"));
  setWindowTitle(QStringLiteral("Line Monitor"));
  setAttribute(Qt::WA_DeleteOnClose);

  traffic_->setObjectName(QStringLiteral("Traffic"));
  traffic_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  addressFilter_->setObjectName(QStringLiteral("AddressFilter"));
  addressFilter_->setPlaceholderText(QStringLiteral("all"));
  addressFilter_->setMaxLength(2);
  addressFilter_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("MMMMM")));
  addressFilter_->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9A-Fa-f]{0,2}")), addressFilter_));
  auto* filterLabel =
      namedLabel(QStringLiteral("AddressLabel"), QStringLiteral("&Address (hex):"), this);
  filterLabel->setBuddy(addressFilter_);

  pauseButton_->setCheckable(true);
  auto* clear = namedButton(QStringLiteral("ClearBtn"), QStringLiteral("C&lear"), this);
  auto* saveAs = namedButton(QStringLiteral("SaveAsBtn"), QStringLiteral("&Save As…"), this);
  auto* close = namedButton(QStringLiteral("CloseBtn"), QStringLiteral("Close"), this);

  auto* bar = new QHBoxLayout;
  bar->addWidget(filterLabel);
  bar->addWidget(addressFilter_);
  bar->addWidget(pauseButton_);
  bar->addWidget(clear);
  // A fixed width: a count that changes with every batch of lines must not
  // lay the whole window out again.
  lineCount_->setFixedSize(
      fontMetrics().horizontalAdvance(QStringLiteral("Paused, 00000 lines kept  ")),
      lineCount_->sizeHint().height());
  bar->addWidget(lineCount_);
  bar->addStretch(1);
  bar->addWidget(saveAs);
  bar->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(traffic_, 1);
  layout->addLayout(bar);
  resize(780, 420);
  showCount();

  connect(pauseButton_, &QPushButton::toggled, this, &LineMonitorForm::onPauseBtnToggled);
  connect(clear, &QPushButton::clicked, this, &LineMonitorForm::onClearBtnClicked);
  connect(saveAs, &QPushButton::clicked, this, &LineMonitorForm::onSaveAsBtnClicked);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  connect(addressFilter_, &QLineEdit::textChanged, this,
          &LineMonitorForm::onAddressFilterTextChanged);
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
          &QWidget::close);

  feed_ = std::make_unique<TraceFeed>(
      [this](std::vector<serial::TraceEvent> events) { take(std::move(events)); });
}

LineMonitorForm::~LineMonitorForm() = default;

// While paused the lines are still kept (up to the cap); the view shows them
// when the pause ends.
void LineMonitorForm::take(std::vector<serial::TraceEvent> events) {
  std::vector<std::string> lines;
  for (const auto& event : events) {
    const MonitorLine& line = log_.add(event);
    if (!paused_ && LineMonitorLog::shows(line, filter_)) lines.push_back(line.text);
  }
  if (paused_) showCount();
  traffic_->append(lines);
}

void LineMonitorForm::redraw() { traffic_->setLines(log_.shown(filter_)); }

// While the view is live it shows the count itself; paused, the label says
// how many lines are kept meanwhile.
void LineMonitorForm::showCount() {
  lineCount_->setText(paused_ ? QStringLiteral("Paused, %1 lines kept").arg(log_.size())
                              : QString());
}

void LineMonitorForm::onPauseBtnToggled(bool paused) {
  paused_ = paused;
  if (!paused_) redraw();
  showCount();
}

void LineMonitorForm::onClearBtnClicked() {
  log_.clear();
  traffic_->clear();
  showCount();
}

void LineMonitorForm::onAddressFilterTextChanged(const QString& text) {
  filter_ = parseAddressFilter(text.toStdString()).address;
  if (!paused_) redraw();
}

void LineMonitorForm::onSaveAsBtnClicked() {
  const QString name = context_.ui().saveFileName(
      this, QStringLiteral("Save Line Trace"), QStringLiteral("Text Files (*.txt);;All Files (*)"));
  if (name.isEmpty()) return;
  std::string text;
  for (const auto& line : shownLines()) text += line + '\n';
  try {
    serial::writeFileAtomically(localFilePath(name), text);
  } catch (const std::exception& e) {
    context_.ui().message(
        this, QStringLiteral("Cannot save the trace: %1.").arg(QString::fromLocal8Bit(e.what())),
        kErrorTitle);
  }
}

}  // namespace orvane::admin
