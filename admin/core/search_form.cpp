#include "admin/core/search_form.h"

#include <QGridLayout>
#include <QGroupBox>
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

namespace {

constexpr int kHighestAddress = 255;

}  // namespace

SearchForm::SearchForm(AdminContext& context, QWidget* parent)
    : QDialog(parent), context_(context), hiAddress_(new QLineEdit(this)) {
  setObjectName(QStringLiteral("SearchForm"));
  setWindowTitle(QStringLiteral("Search"));
  // Only OK with a valid address confirms; Escape and the close box skip.
  context_.SearchConfirmed = false;

  auto* frame = new QGroupBox(this);
  frame->setObjectName(QStringLiteral("Frame1"));
  auto* intro = namedLabel(QStringLiteral("Label1"),
                           QStringLiteral("Search all exist ") +
                               QStringLiteral(" modules in network, if you just want to do new "
                                              "module initialization, select Cancel button to "
                                              "skip it."),
                           frame);
  intro->setWordWrap(true);
  auto* grid = new QGridLayout(frame);
  grid->addWidget(intro, 0, 0, 1, 2);
  grid->addWidget(namedLabel(QStringLiteral("Label2"), QStringLiteral("COM port:"), frame), 1, 0);
  grid->addWidget(
      namedLabel(QStringLiteral("ComPort"), QStringLiteral("COM%1").arg(context.ComPort), frame), 1,
      1);
  grid->addWidget(namedLabel(QStringLiteral("Label3"), QStringLiteral("Search baud rates:"), frame),
                  2, 0);
  grid->addWidget(namedLabel(QStringLiteral("BaudRate"), searchedBaudRates(), frame), 2, 1);
  grid->addWidget(
      namedLabel(QStringLiteral("Label4"), QStringLiteral("Search address range from 0 to"), frame),
      3, 0);
  hiAddress_->setObjectName(QStringLiteral("HiAddress"));
  hiAddress_->setMaximumWidth(60);
  grid->addWidget(hiAddress_, 3, 1, Qt::AlignLeft);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKBtn"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CancelBtn"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addLayout(buttons);

  hiAddress_->setText(QStringLiteral("255"));
  hiAddress_->selectAll();
  hiAddress_->setFocus();
  DigitKeys(context_, *hiAddress_);
  connect(ok, &QPushButton::clicked, this, &SearchForm::onOKBtnClicked);
  connect(cancel, &QPushButton::clicked, this, &SearchForm::onCancelBtnClicked);
}

QString SearchForm::searchedBaudRates() const {
  if (context_.ComPort < 1 || context_.ComPort > kComPortCount) return {};
  QStringList rates;
  const auto& flags = context_.portSetting(context_.ComPort).SearchFlags;
  for (int code = 0; code < kBaudCodeCount; ++code)
    if (flags[static_cast<std::size_t>(code)] == 1)
      rates << QString::number(protocol::baudRateOf(code));
  return rates.join(QStringLiteral(", "));
}

void SearchForm::onOKBtnClicked() {
  const QString refusal = numberRefusal(hiAddress_->text(), kHighestAddress);
  if (!refusal.isEmpty()) {
    context_.ui().message(this, refusal, kErrorTitle);
    hiAddress_->setFocus();
    return;
  }
  context_.SearchHiAddress = *digitsValue(hiAddress_->text(), kHighestAddress);
  context_.SearchConfirmed = true;
  accept();
}

void SearchForm::onCancelBtnClicked() {
  context_.SearchConfirmed = false;
  reject();
}

}  // namespace orvane::admin
