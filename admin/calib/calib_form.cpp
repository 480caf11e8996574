#include "admin/calib/calib_form.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/reply_fields.h"
#include "admin/core/theme_colours.h"
#include "admin/core/ui_naming.h"
#include "protocol/numbers.h"

namespace orvane::admin {

namespace {

constexpr int kGuideWidth = 420;          // px: the guide texts wrap to a few lines
constexpr std::size_t kConfirmation = 3;  // "!AA"

// The address in decimal and in hexadecimal: 255 gives "255 (FFH)".
QString addressCaption(int address) {
  return QStringLiteral("%1 (%2H)")
      .arg(address)
      .arg(QString::fromStdString(protocol::hex2(static_cast<std::uint32_t>(address))));
}

}  // namespace

CalibForm::CalibForm(AdminContext& context, const QString& name, const QString& caption,
                     const QString& stepLabelName, QWidget* parent)
    : QDialog(parent), context_(context), index_(context.SelectedIndex) {
  setObjectName(name);
  setWindowTitle(caption);
  moduleName_ =
      namedLabel(QStringLiteral("ModuleName"),
                 QString::fromStdString(std::string(protocol::trimmed(entry().ModelName))), this);
  addr_ = namedLabel(QStringLiteral("Addr"), addressCaption(entry().Address), this);
  stepLabel_ = namedLabel(stepLabelName, QStringLiteral("Step"), this);
  stepNo_ = namedLabel(QStringLiteral("StepNo"), QString(), this);
  guideText_ = namedLabel(QStringLiteral("GuideText"), QString(), this);
  guideText_->setWordWrap(true);
  guideText_->setMinimumWidth(kGuideWidth);
  linkStatus_ = namedLabel(QStringLiteral("LinkStatus"), QString(), this);
  setTextTone(*linkStatus_, TextTone::Alarm);
  linkStatus_->setWordWrap(true);
  backButton_ = button(QStringLiteral("BackBtn"), QStringLiteral("< Back"));
  nextButton_ = button(QStringLiteral("NextBtn"), QStringLiteral("Next >"));
  nextButton_->setDefault(true);
  exitButton_ = button(QStringLiteral("ExitBtn"), QStringLiteral("Exit"));
  connect(exitButton_, &QPushButton::clicked, this, &CalibForm::reject);
}

ModuleEntry& CalibForm::entry() const {
  return context_.ModuleList.at(static_cast<std::size_t>(index_));
}

QPushButton* CalibForm::button(const QString& name, const QString& caption) {
  auto* made = new QPushButton(caption, this);
  made->setObjectName(name);
  // Enter belongs to NextBtn whichever button has the focus.
  made->setAutoDefault(false);
  return made;
}

bool CalibForm::exchange(char lead, std::string_view body, int timeoutMs) {
  context_.LastCommand = addressedCommand(lead, effectiveAddress(context_, index_), body);
  ExchangeCommand(context_, index_, 0, timeoutMs);
  showLinkFailure();
  return context_.LastExchangeOK;
}

void CalibForm::writeOnly(char lead, std::string_view body) {
  // A time-out of 0: the link writes the frame and returns without waiting;
  // the next command's write clears whatever reply arrives meanwhile.
  exchange(lead, body, 0);
}

const std::string& CalibForm::reply() const { return context_.LastReply; }

bool CalibForm::store(std::string_view body) {
  return replyValid(exchange('$', body, context_.ReplyTimeout), reply(), '!', kConfirmation);
}

void CalibForm::tellNotConfirmed(const QString& point) {
  context_.ui().message(
      this,
      QStringLiteral("The module did not confirm %1; it may not have been stored.").arg(point),
      kCalibrationTitle);
}

void CalibForm::beginAction() { linkStatus_->clear(); }

void CalibForm::showLinkFailure() {
  // The first failure of an action says why; those after it follow from it
  // (a line whose adapter went is closed).
  if (!context_.LastLinkError.empty() && linkStatus_->text().isEmpty())
    linkStatus_->setText(QString::fromLocal8Bit(context_.LastLinkError.c_str()));
}

void CalibForm::showStepNumber(int step, const QString& guide) {
  stepNo_->setText(QString::number(step));
  guideText_->setText(guide);
}

void CalibForm::fitToContents() {
  // A longer guide or more controls need more room than the window had: grow
  // it by what the wrapped guide lacks, or the layout squeezes the guide
  // until its end is cut off. The layout may hand part of the growth to
  // other rows, hence a few rounds.
  if (!isVisible()) return;
  for (int round = 0; round < 4; ++round) {
    layout()->activate();
    const int lacking = guideText_->isVisible()
                            ? guideText_->heightForWidth(guideText_->width()) - guideText_->height()
                            : 0;
    const int needed = std::max(lacking + height(), minimumSizeHint().height());
    if (needed <= height()) return;
    resize(width(), needed);
  }
}

QGridLayout* CalibForm::identityRows() {
  auto* rows = new QGridLayout;
  rows->addWidget(namedLabel(QStringLiteral("Label1"), QStringLiteral("Module:"), this), 0, 0);
  rows->addWidget(moduleName_, 0, 1);
  rows->addWidget(namedLabel(QStringLiteral("Label2"), QStringLiteral("Address:"), this), 1, 0);
  rows->addWidget(addr_, 1, 1);
  rows->setColumnStretch(1, 1);
  return rows;
}

void CalibForm::buildLayout(QGridLayout* identity, QWidget* stepControls) {
  auto* frame = new QFrame(this);
  frame->setObjectName(QStringLiteral("Frame1"));
  frame->setFrameShape(QFrame::StyledPanel);
  auto* stepRow = new QHBoxLayout;
  stepRow->addWidget(stepLabel_);
  stepRow->addWidget(stepNo_);
  stepRow->addStretch();
  auto* inFrame = new QVBoxLayout(frame);
  inFrame->addLayout(stepRow);
  inFrame->addWidget(guideText_);
  inFrame->addWidget(stepControls);
  inFrame->addStretch();

  auto* line = new QFrame(this);
  line->setObjectName(QStringLiteral("Line1"));
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  buttonRow->addWidget(backButton_);
  buttonRow->addWidget(nextButton_);
  buttonRow->addWidget(exitButton_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(identity);
  layout->addWidget(frame, 1);
  layout->addWidget(linkStatus_);
  layout->addWidget(line);
  layout->addLayout(buttonRow);
}

}  // namespace orvane::admin
