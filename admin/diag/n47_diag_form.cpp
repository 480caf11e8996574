#include "admin/diag/n47_diag_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "admin/core/admin_context.h"
#include "admin/core/ui_naming.h"
#include "admin/diag/lamp.h"
#include "admin/diag/output_scroll_bar.h"
#include "admin/diag/scroll_binding.h"

namespace orvane::admin {

namespace {

QLabel* unitLabel(int index, QWidget* parent) {
  return namedLabel(indexedName(QStringLiteral("DataFormat"), index), QStringLiteral("V"), parent);
}

}  // namespace

N47DiagForm::N47DiagForm(AdminContext& context, QWidget* parent)
    : DiagForm(context, QStringLiteral("N47DiagForm"), QStringLiteral("D/A Module Diagnostic"),
               parent) {
  auto* outputs = new QGridLayout;
  for (int k = 0; k < kN47Outputs; ++k) outputs->addWidget(outputFrame(k), k / 2, k % 2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(identityRows(QStringLiteral("Label4")));
  layout->addLayout(outputs);
  layout->addWidget(inputFrame());
  layout->addWidget(linkStatus_);
  layout->addWidget(exitButton_, 0, Qt::AlignHCenter);
  load();
}

QGroupBox* N47DiagForm::outputFrame(int output) {
  const auto k = static_cast<std::size_t>(output);
  auto* frame = new QGroupBox(QStringLiteral("Port%1").arg(QChar(u'A' + output)), this);
  frame->setObjectName(QStringLiteral("Frame%1").arg(output + 1));
  auto* bar = outputScrollBar(indexedName(QStringLiteral("DaScroll"), output),
                              {-kN47ScrollMax, kN47ScrollMax, 328, 3277}, frame);
  daScroll_[k] = bar;
  daData_[k] = namedLabel(indexedName(QStringLiteral("DA_data"), output), QString(), frame);
  daData_[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  auto* grid = new QGridLayout(frame);
  grid->addWidget(
      namedLabel(indexedName(QStringLiteral("LowRange"), output), QStringLiteral("-10"), frame), 0,
      0);
  grid->addWidget(bar, 0, 1);
  grid->addWidget(
      namedLabel(indexedName(QStringLiteral("HighRange"), output), QStringLiteral("10"), frame), 0,
      2);
  grid->addWidget(unitLabel(2 * output, frame), 0, 3);
  auto* dataRow = new QHBoxLayout;
  dataRow->addStretch();
  dataRow->addWidget(namedLabel(indexedName(QStringLiteral("Label3"), output),
                                QStringLiteral("D/A data:"), frame));
  dataRow->addWidget(daData_[k]);
  dataRow->addWidget(unitLabel(2 * output + 1, frame));
  dataRow->addStretch();
  grid->addLayout(dataRow, 1, 0, 1, 4);

  bindScrollBar(
      *bar, [this, output](int position) { showPosition(output, position); },
      [this, output](int position) { settle(output, position); });
  return frame;
}

QGroupBox* N47DiagForm::inputFrame() {
  auto* frame = new QGroupBox(QStringLiteral("Digital input"), this);
  frame->setObjectName(QStringLiteral("Frame5"));
  auto* grid = new QGridLayout(frame);
  for (int i = 0; i < kN47Inputs; ++i) {
    auto* number =
        namedLabel(indexedName(QStringLiteral("Label_di7"), i), QString::number(i), frame);
    auto* lamp = new Lamp(indexedName(QStringLiteral("InputBit"), i), false, frame);
    inputBit_[static_cast<std::size_t>(i)] = lamp;
    grid->addWidget(number, 0, i, Qt::AlignHCenter);
    grid->addWidget(lamp, 1, i, Qt::AlignHCenter);
  }
  return frame;
}

void N47DiagForm::load() {
  readFirmware();
  for (int k = 0; k < kN47Outputs; ++k) showPosition(k, 0);
  // Every output goes to 0 V, in the order A to D, whatever it was before;
  // the bars start there.
  for (int k = 0; k < kN47Outputs; ++k)
    exchangeNow('#', n47OutputBody(k, 0), context().ReplyTimeout);
}

LinkTask<void> N47DiagForm::tick() {
  const bool ok = co_await exchangeAsync('$', "8", context().ReplyTimeout);
  const auto lines = n47Inputs(ok, reply());
  if (!lines) co_return;  // the lamps keep their state until a good read
  for (std::size_t i = 0; i < inputBit_.size(); ++i) inputBit_[i]->setLit((*lines >> i & 1U) != 0);
}

void N47DiagForm::showPosition(int output, int position) {
  daData_[static_cast<std::size_t>(output)]->setText(
      QString::fromStdString(n47ShownValue(position, context().DecimalSeparator)));
}

void N47DiagForm::settle(int output, int position) {
  showPosition(output, position);
  // The reply is not checked: a module that does not answer costs one reply
  // time-out and the window goes on.
  exchangeNow('#', n47OutputBody(output, position), context().ReplyTimeout);
}

}  // namespace orvane::admin
