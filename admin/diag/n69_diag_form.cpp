#include "admin/diag/n69_diag_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "admin/core/admin_context.h"
#include "admin/core/theme_colours.h"
#include "admin/core/ui_naming.h"
#include "admin/diag/digital_reply.h"
#include "admin/diag/lamp.h"

namespace orvane::admin {

namespace {

const char* const kGroupNames[kN69Groups] = {"A", "B", "CH", "CL"};

}  // namespace

N69DiagForm::N69DiagForm(AdminContext& context, QWidget* parent)
    : DiagForm(context, QStringLiteral("N69DiagForm"),
               QStringLiteral("Digital I/O Module Diagnostic"), parent) {
  readFirmware();
  readDirections();
  buildControls();
  // Whatever the module answers, the window starts from every output off.
  exchange('#', kN69OutputsOffBody, context.ReplyTimeout);
}

void N69DiagForm::readDirections() {
  const bool ok = exchange('$', "6", context().ReplyTimeout);
  if (const auto directions = n69Directions(ok, reply())) {
    directions_ = *directions;
    directionsRead_ = true;
  }
}

QGroupBox* N69DiagForm::lampFrame(const QString& name, const QString& title,
                                  const QString& lampName, int count, bool clickable,
                                  std::vector<Lamp*>& lamps) {
  auto* frame = new QGroupBox(title, this);
  frame->setObjectName(name);
  auto* grid = new QGridLayout(frame);
  for (int n = 0; n < count; ++n) {
    lamps.push_back(new Lamp(indexedName(lampName, n), clickable, frame));
    auto* number = new QLabel(QString::number(n), frame);
    number->setAlignment(Qt::AlignCenter);
    grid->addWidget(lamps.back(), 0, n, Qt::AlignHCenter);
    grid->addWidget(number, 1, n);
  }
  grid->setColumnStretch(count, 1);
  return frame;
}

// Frame1(group): its caption and colour say whether the port is an input.
QGroupBox* N69DiagForm::portFrame(int group) {
  const QString letters = QString::fromLatin1(kGroupNames[group]);
  auto& lamps = portBits_[static_cast<std::size_t>(group)];
  auto* frame =
      lampFrame(indexedName(QStringLiteral("Frame1"), group), QStringLiteral("Port ") + letters,
                letters + QStringLiteral("bit"), n69LampCount(group), !isInput(group), lamps);
  if (directionsRead_) {
    frame->setTitle(frame->title() +
                    (isInput(group) ? QStringLiteral(" (input)") : QStringLiteral(" (output)")));
    setTextTone(*frame, isInput(group) ? TextTone::Input : TextTone::Alarm);
  }
  for (std::size_t n = 0; n < lamps.size(); ++n)
    connect(lamps[n], &Lamp::clicked, this,
            [this, group, n] { onBitClick(group, static_cast<int>(n)); });
  return frame;
}

void N69DiagForm::buildControls() {
  auto* ports = new QGridLayout;
  // A and B each take a row; CH and CL share the third.
  ports->addWidget(portFrame(0), 0, 0, 1, 2);
  ports->addWidget(portFrame(1), 1, 0, 1, 2);
  ports->addWidget(portFrame(2), 2, 0);
  ports->addWidget(portFrame(3), 2, 1);
  auto* isolated = lampFrame(QStringLiteral("Frame2"), QStringLiteral("Digital input"),
                             QStringLiteral("Ibit"), 4, false, isolatedBits_);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(identityRows(QStringLiteral("Label3")));
  layout->addLayout(ports);
  layout->addWidget(isolated);
  layout->addWidget(linkStatus_);
  layout->addWidget(exitButton_, 0, Qt::AlignHCenter);
}

LinkTask<void> N69DiagForm::tick() {
  const bool ok = co_await exchangeAsync('$', "6", context().ReplyTimeout);
  const auto inputs = n69Inputs(ok, reply());
  if (!inputs) co_return;
  for (std::size_t n = 0; n < isolatedBits_.size(); ++n)
    isolatedBits_[n]->setLit((inputs->isolated >> n & 1u) != 0);
  for (int group = 0; group < kN69Groups; ++group) {
    if (!isInput(group)) continue;  // an output's lamps show what the user set
    const unsigned bits = n69GroupBits(*inputs, group);
    const auto& lamps = portBits_[static_cast<std::size_t>(group)];
    for (std::size_t n = 0; n < lamps.size(); ++n) lamps[n]->setLit((bits >> n & 1u) != 0);
  }
}

// Only the lamps of output groups are clickable.
void N69DiagForm::onBitClick(int group, int n) {
  const N69PortBit at = n69PortBit(group, n);
  unsigned& state = portState_[static_cast<std::size_t>(at.port)];
  Lamp* lamp = portBits_[static_cast<std::size_t>(group)][static_cast<std::size_t>(n)];
  const unsigned bit = 1u << at.bit;
  state ^= bit;
  lamp->setLit((state & bit) != 0);
  const bool ok = exchangeNow('#', n69PortBody(at.port, state), context().ReplyTimeout);
  if (outputWriteTaken(ok, reply())) return;
  state ^= bit;
  lamp->setLit((state & bit) != 0);
}

}  // namespace orvane::admin
