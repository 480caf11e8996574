#include "admin/calib/da_calib_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

#include "admin/calib/da_calib_commands.h"
#include "admin/core/admin_context.h"

namespace orvane::admin {

namespace {

constexpr int kLastStep = 5;

}  // namespace

DaCalibForm::DaCalibForm(AdminContext& context, QWidget* parent)
    : CalibForm(context, QStringLiteral("DaCalibForm"), QStringLiteral("Analog Output Calibration"),
                QStringLiteral("Label3"), parent) {
  buildControls();
  load();
}

void DaCalibForm::buildControls() {
  auto* controls = new QWidget(this);
  trimUpButton_ = button(QStringLiteral("TrimUpBtn"), QStringLiteral("Trim Up"));
  trimDownButton_ = button(QStringLiteral("TrimDownBtn"), QStringLiteral("Trim Down"));
  auto* trims = new QHBoxLayout(controls);
  trims->setContentsMargins(0, 0, 0, 0);
  trims->addStretch();
  trims->addWidget(trimUpButton_);
  trims->addWidget(trimDownButton_);
  trims->addStretch();
  buildLayout(identityRows(), controls);

  connect(trimUpButton_, &QPushButton::clicked, this, &DaCalibForm::onTrimUpBtnClicked);
  connect(trimDownButton_, &QPushButton::clicked, this, &DaCalibForm::onTrimDownBtnClicked);
  connect(backButton_, &QPushButton::clicked, this, &DaCalibForm::onBackBtnClicked);
  connect(nextButton_, &QPushButton::clicked, this, &DaCalibForm::onNextBtnClicked);
}

void DaCalibForm::load() {
  const int address = entry().Address;
  const bool read = exchange('$', "2", context().ReplyTimeout);
  if (const auto saved = savedConfiguration(read, reply())) {
    saved_ = *saved;
    const bool sent = exchange('%', switchBody(address, saved_), context().LongReplyTimeout);
    switched_ = switchConfirmed(sent, reply(), address);
  }
  // Points stored in another range would spoil it: without the switch the
  // window only trims.
  if (!switched_)
    context().ui().message(
        this,
        QStringLiteral(
            "The module did not switch to its calibration range; nothing will be stored."),
        QStringLiteral("Calibration"));
  trimUpButton_->hide();
  trimDownButton_->hide();
  step_ = 1;
  showStep();
  nextButton_->setFocus();
}

void DaCalibForm::showStep() {
  showStepNumber(step_, daGuideText(step_));
  switch (step_) {
    case 1:
      backButton_->setEnabled(false);
      break;
    case 2:
      backButton_->setEnabled(true);
      break;
    case 3:
      trimUpButton_->hide();
      trimDownButton_->hide();
      break;
    case 4:
      trimUpButton_->show();
      trimDownButton_->show();
      exchange('#', kDrive4mA, context().ReplyTimeout);
      break;
    default:
      // The caption stays "Done" when the user goes back to step 4.
      nextButton_->setText(QStringLiteral("Done"));
      exchange('#', kDrive20mA, context().ReplyTimeout);
      break;
  }
  fitToContents();
}

void DaCalibForm::onTrimUpBtnClicked() {
  beginAction();
  exchange('$', kTrimUp, context().ReplyTimeout);
}

void DaCalibForm::onTrimDownBtnClicked() {
  beginAction();
  exchange('$', kTrimDown, context().ReplyTimeout);
}

void DaCalibForm::onBackBtnClicked() {
  beginAction();
  --step_;
  showStep();
}

void DaCalibForm::onNextBtnClicked() {
  beginAction();
  if (step_ < 4) {
    ++step_;
    showStep();
    return;
  }
  if (switched_) exchange('$', step_ == 4 ? kStore4mA : kStore20mA, context().ReplyTimeout);
  if (step_ == kLastStep) {
    accept();
    return;
  }
  ++step_;
  showStep();
}

void DaCalibForm::done(int result) {
  if (!left_) {
    left_ = true;
    restore();
  }
  QDialog::done(result);
}

void DaCalibForm::restore() {
  // Without a saved configuration there is nothing to give back; a bare
  // "%AANN" would only be refused.
  if (saved_.empty()) return;
  exchange('%', restoreBody(entry().Address, saved_), context().LongReplyTimeout);
}

}  // namespace orvane::admin
