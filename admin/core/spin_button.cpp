#include "admin/core/spin_button.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace orvane::admin {

SpinButton::SpinButton(const QString& name, QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  setObjectName(name);
  up_->setObjectName(name + QStringLiteral("Up"));
  down_->setObjectName(name + QStringLiteral("Down"));
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (auto* button : {up_, down_}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(18, 11);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  connect(up_, &QToolButton::clicked, this, &SpinButton::spinUp);
  connect(down_, &QToolButton::clicked, this, &SpinButton::spinDown);
}

}  // namespace orvane::admin
