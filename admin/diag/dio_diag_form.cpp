#include "admin/diag/dio_diag_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/core/admin_context.h"
#include "admin/core/ui_naming.h"
#include "admin/diag/digital_reply.h"
#include "admin/diag/dio_diag_decode.h"
#include "admin/diag/lamp.h"
#include "protocol/catalogue.h"

namespace orvane::admin {

DioDiagForm::DioDiagForm(AdminContext& context, QWidget* parent)
    : DiagForm(context, QStringLiteral("DioDiagForm"),
               QStringLiteral("Digital I/O Module Diagnostic"), parent),
      key_(protocol::familyKey(entry().ModelName)) {
  buildControls();
  load();
}

void DioDiagForm::BitFrame::show(int bits) const {
  for (std::size_t n = 0; n < 16; ++n) {
    lamps[n]->setVisible(static_cast<int>(n) < bits);
    numbers[n]->setVisible(static_cast<int>(n) < bits);
  }
  frame->setVisible(bits > 0);
}

DioDiagForm::BitFrame DioDiagForm::bitFrame(const QString& name, const QString& title,
                                            const QString& lampName, const QString& numberName,
                                            bool clickable) {
  BitFrame bits;
  bits.frame = new QGroupBox(title, this);
  bits.frame->setObjectName(name);
  auto* grid = new QGridLayout(bits.frame);
  for (int n = 0; n < 16; ++n) {
    const auto i = static_cast<std::size_t>(n);
    bits.lamps[i] = new Lamp(indexedName(lampName, n), clickable, bits.frame);
    bits.numbers[i] = namedLabel(indexedName(numberName, n), QString::number(n), bits.frame);
    bits.numbers[i]->setAlignment(Qt::AlignCenter);
    grid->addWidget(bits.lamps[i], 0, n, Qt::AlignHCenter);
    grid->addWidget(bits.numbers[i], 1, n);
  }
  return bits;
}

void DioDiagForm::buildControls() {
  inputs_ = bitFrame(QStringLiteral("Frame1"), QStringLiteral("Digital input"),
                     QStringLiteral("InputBit"), QStringLiteral("Label_di"), false);
  outputs_ = bitFrame(QStringLiteral("Frame2"), QStringLiteral("Digital output"),
                      QStringLiteral("OutputBit"), QStringLiteral("Label_do"), true);
  for (int n = 0; n < 16; ++n)
    connect(outputs_.lamps[static_cast<std::size_t>(n)], &Lamp::clicked, this,
            [this, n] { onOutputBitClick(n); });

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // the window shrinks when a frame is hidden
  layout->addWidget(identityRows(QStringLiteral("Label3")));
  layout->addWidget(inputs_.frame);
  layout->addWidget(outputs_.frame);
  layout->addWidget(linkStatus_);
  layout->addWidget(exitButton_, 0, Qt::AlignHCenter);
}

void DioDiagForm::load() {
  readFirmware();
  const DioBits shown = dioBitsShown(key_);
  inputs_.show(shown.inputs);
  outputs_.show(shown.outputs);
  outState_ = 0;
  // Whatever the module answers, the window starts from every output off.
  const std::string off = dioOutputsOffBody(key_);
  if (!off.empty()) exchange('#', off, context().ReplyTimeout);
}

LinkTask<void> DioDiagForm::tick() {
  const bool ok = co_await exchangeAsync('$', "6", context().ReplyTimeout);
  const auto value = dioInputValue(key_, ok, reply());
  if (!value) co_return;
  for (std::size_t n = 0; n < 16; ++n) inputs_.lamps[n]->setLit((*value >> n & 1u) != 0);
}

void DioDiagForm::onOutputBitClick(int n) {
  const unsigned bit = 1u << n;
  Lamp* lamp = outputs_.lamps[static_cast<std::size_t>(n)];
  outState_ ^= bit;
  const int level = (outState_ & bit) != 0 ? 1 : 0;
  lamp->setLit(level == 1);
  const bool ok = exchangeNow('#', dioOutputBody(key_, n, level), context().ReplyTimeout);
  if (outputWriteTaken(ok, reply())) return;
  outState_ ^= bit;
  lamp->setLit(level == 0);
}

}  // namespace orvane::admin
