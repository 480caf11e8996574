#include "admin/calib/da_calib_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

#include "admin/calib/da_calib_commands.h"
#include "admin/core/admin_context.h"
#include "admin/core/ui_services.h"

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
    switched_ = configurationTaken(sent, reply(), address);
    switchUnanswered_ = !sent;
  }
  // Points stored in another range would spoil it: without the switch the
  // window only trims.
  if (!switched_)
    context().ui().message(
        this,
        QStringLiteral(
            "The module did not switch to its calibration range; nothing will be stored."),
        kCalibrationTitle);
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
  const bool lastPoint = step_ == kLastStep;
  if (switched_ && !store(lastPoint ? kStore20mA : kStore4mA))
    tellNotConfirmed(lastPoint ? QStringLiteral("the 20 mA point")
                               : QStringLiteral("the 4 mA point"));
  if (lastPoint) {
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
  // A module left driving another range looks like a success: the user
  // retries, or closes knowing it.
  while (!moduleRestored()) {
    const auto answer =
        context().ui().message(this, restoreFailureText(switched_, saved_), kCalibrationTitle,
                               QMessageBox::Retry | QMessageBox::Close);
    if (answer != QMessageBox::Retry) return;
  }
}

bool DaCalibForm::moduleRestored() {
  const int address = entry().Address;
  const bool sent = exchange('%', restoreBody(address, saved_), context().LongReplyTimeout);
  // A module that refused the switch never left its configuration.
  return configurationTaken(sent, reply(), address) || !(switched_ || switchUnanswered_);
}

}  // namespace orvane::admin
