#include "admin/calib/ad_calib_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/number_input.h"
#include "admin/core/ui_naming.h"
#include "protocol/catalogue.h"

namespace orvane::admin {

AdCalibForm::AdCalibForm(AdminContext& context, QWidget* parent)
    : CalibForm(context, QStringLiteral("AdCalibForm"), QStringLiteral("Analog Input Calibration"),
                QStringLiteral("Label4"), parent),
      familyKey_(protocol::familyKey(entry().ModelName)) {
  buildControls();
  load();
}

void AdCalibForm::buildControls() {
  rangeText_ = namedLabel(QStringLiteral("RangeText"), QString(), this);
  QGridLayout* identity = identityRows();
  identity->addWidget(namedLabel(QStringLiteral("Label3"), QStringLiteral("Input range:"), this), 2,
                      0);
  identity->addWidget(rangeText_, 2, 1);

  auto* controls = new QWidget(this);
  reading_ = namedLabel(QStringLiteral("Reading"), QString(), controls);
  QFont large = reading_->font();
  large.setPointSizeF(large.pointSizeF() * 1.5);
  large.setBold(true);
  reading_->setFont(large);
  reading_->setAlignment(Qt::AlignCenter);

  coldJunction_ = new QWidget(controls);
  temperature_ = namedLabel(QStringLiteral("Temperature"), QString(), coldJunction_);
  cjcInput_ = new QLineEdit(coldJunction_);
  cjcInput_->setObjectName(QStringLiteral("CJCInput"));
  cjcInput_->setMaximumWidth(90);
  SignedNumberKeys(context(), *cjcInput_);
  auto* temperatureRow = new QHBoxLayout;
  temperatureRow->addWidget(
      namedLabel(QStringLiteral("CJCLabel"), QStringLiteral("CJC temperature ="), coldJunction_));
  temperatureRow->addWidget(temperature_);
  temperatureRow->addStretch();
  auto* inputRow = new QHBoxLayout;
  inputRow->addWidget(cjcInput_);
  inputRow->addWidget(
      namedLabel(QStringLiteral("DegreeLabel"), QStringLiteral("°C"), coldJunction_));
  inputRow->addStretch();
  auto* inputLabel =
      namedLabel(QStringLiteral("CJCInputLabel"),
                 QStringLiteral("Please input target temperature then press 'Execute' button:"),
                 coldJunction_);
  inputLabel->setWordWrap(true);
  auto* cjcLayout = new QVBoxLayout(coldJunction_);
  cjcLayout->setContentsMargins(0, 0, 0, 0);
  cjcLayout->addLayout(temperatureRow);
  cjcLayout->addWidget(inputLabel);
  cjcLayout->addLayout(inputRow);

  offsetButton_ = button(QStringLiteral("OffsetBtn"), QStringLiteral("Offset"));
  spanButton_ = button(QStringLiteral("SpanBtn"), QStringLiteral("Span"));
  cjcButton_ = button(QStringLiteral("CJCBtn"), QStringLiteral("CJC"));
  auto* choices = new QHBoxLayout;
  choices->addStretch();
  choices->addWidget(offsetButton_);
  choices->addWidget(spanButton_);
  choices->addWidget(cjcButton_);
  choices->addStretch();

  auto* layout = new QVBoxLayout(controls);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(reading_);
  layout->addWidget(coldJunction_);
  layout->addLayout(choices);
  buildLayout(identity, controls);

  connect(offsetButton_, &QPushButton::clicked, this, &AdCalibForm::onOffsetBtnClicked);
  connect(spanButton_, &QPushButton::clicked, this, &AdCalibForm::onSpanBtnClicked);
  connect(cjcButton_, &QPushButton::clicked, this, &AdCalibForm::onCJCBtnClicked);
  connect(backButton_, &QPushButton::clicked, this, &AdCalibForm::onBackBtnClicked);
  connect(nextButton_, &QPushButton::clicked, this, &AdCalibForm::onNextBtnClicked);
}

void AdCalibForm::load() {
  rangeText_->setText(QString::fromStdString(protocol::typeCodeNameTrimmed(entry().TypeCode)));
  // Until a step shows them.
  reading_->hide();
  coldJunction_->hide();
  step_ = 1;
  showStep();
}

void AdCalibForm::showStep() {
  showStepNumber(step_, adGuideText(step_, familyKey_));
  switch (step_) {
    case 1:
      backButton_->setEnabled(false);
      nextButton_->setEnabled(true);
      offsetButton_->hide();
      spanButton_->hide();
      cjcButton_->hide();
      nextButton_->setFocus();
      break;
    case 2:
      guideText_->show();
      coldJunction_->hide();
      reading_->hide();
      backButton_->setEnabled(true);
      nextButton_->setEnabled(false);
      offsetButton_->show();
      spanButton_->show();
      cjcButton_->setVisible(offersColdJunction(familyKey_));
      offsetButton_->setFocus();
      break;
    default:
      // The caption stays "Execute" when the user goes back.
      nextButton_->setEnabled(true);
      nextButton_->setText(QStringLiteral("Execute"));
      offsetButton_->hide();
      spanButton_->hide();
      cjcButton_->hide();
      reading_->show();
      if (kind_ == CalibrationKind::ColdJunction) {
        guideText_->hide();
        reading_->hide();
        coldJunction_->show();
        cjcInput_->setFocus();
        readTemperature();
      } else {
        reading_->setText(kind_ == CalibrationKind::Offset ? zeroValue(entry().TypeCode)
                                                           : spanValue(entry().TypeCode));
        nextButton_->setFocus();
      }
      break;
  }
  fitToContents();
}

void AdCalibForm::choose(CalibrationKind kind) {
  beginAction();
  kind_ = kind;
  ++step_;
  showStep();
}

void AdCalibForm::onOffsetBtnClicked() { choose(CalibrationKind::Offset); }

void AdCalibForm::onSpanBtnClicked() { choose(CalibrationKind::Span); }

void AdCalibForm::onCJCBtnClicked() { choose(CalibrationKind::ColdJunction); }

void AdCalibForm::onBackBtnClicked() {
  beginAction();
  --step_;
  showStep();
}

void AdCalibForm::onNextBtnClicked() {
  beginAction();
  if (step_ < 3) {
    ++step_;
    showStep();
    return;
  }
  execute();
}

void AdCalibForm::execute() {
  if (kind_ == CalibrationKind::ColdJunction) {
    executeColdJunction();
    return;
  }
  if (!store(calibrationBody(kind_)))
    tellNotConfirmed(kind_ == CalibrationKind::Offset ? QStringLiteral("the offset point")
                                                      : QStringLiteral("the span point"));
}

void AdCalibForm::executeColdJunction() {
  writeOnly('$', kClearColdJunction);
  context().ui().pause(context().cjcSettlePause);
  const auto temperature = readTemperature();
  // Without the module's temperature there is nothing to correct against:
  // the offset stays cleared.
  if (!temperature) return;
  const auto target = typedNumber(cjcInput_->text(), context().DecimalSeparator);
  if (!target) cjcInput_->setText(QStringLiteral("0"));
  const float difference = target ? static_cast<float>(*target) - *temperature : 0.0f;
  const auto body = coldJunctionOffsetBody(difference);
  if (!body) {
    context().ui().message(this, QStringLiteral("The target temperature is out of range."),
                           kCalibrationTitle);
    return;
  }
  const bool stored = store(*body);
  context().ui().pause(context().cjcSettlePause);
  readTemperature();
  // Said when the sequence is over, so that the pause before the read stays
  // what it is.
  if (!stored) tellNotConfirmed(QStringLiteral("the cold-junction offset"));
}

std::optional<float> AdCalibForm::readTemperature() {
  const bool ok = exchange('$', kReadColdJunction, context().ReplyTimeout);
  const auto temperature = coldJunctionTemperature(ok, reply());
  temperature_->setText(temperatureText(temperature, context().DecimalSeparator));
  return temperature;
}

}  // namespace orvane::admin
