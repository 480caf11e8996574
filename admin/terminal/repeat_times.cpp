#include "admin/terminal/repeat_times.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <climits>

#include "admin/core/admin_context.h"
#include "admin/core/command_link.h"
#include "admin/core/number_input.h"
#include "admin/core/spin_button.h"
#include "admin/core/ui_naming.h"

namespace orvane::admin {

namespace {

// Typed digits may exceed the spin range; they still count as their value.
long long shownTimes(const QString& text) { return digitsValue(text, INT_MAX).value_or(0); }

// Installs the digit filter and the spin button's handlers on the field.
void setUpRepeatTimes(AdminContext& context, QLineEdit& times, SpinButton& spin) {
  DigitKeys(context, times);
  QObject::connect(&spin, &SpinButton::spinUp, &times,
                   [&times] { times.setText(timesSpunUp(times.text())); });
  QObject::connect(&spin, &SpinButton::spinDown, &times,
                   [&times] { times.setText(timesSpunDown(times.text())); });
}

}  // namespace

QString timesSpunUp(const QString& text) {
  return QString::number(std::min<long long>(shownTimes(text) + 1, kMaxRepeatTimes));
}

QString timesSpunDown(const QString& text) {
  const long long value = shownTimes(text);
  if (value <= 1) return text;
  return QString::number(std::min<long long>(value - 1, kMaxRepeatTimes));
}

std::string repeatCommandField(const QString& typed) {
  return typed.left(kRepeatCommandWidth)
      .leftJustified(kRepeatCommandWidth, QLatin1Char(' '))
      .toStdString();
}

DialogButtons addRepeatTimesRows(AdminContext& context, QGridLayout& layout, int row,
                                 QLineEdit& times, QWidget* dialog) {
  times.setObjectName(QStringLiteral("RepeatTimes"));
  auto* spin = new SpinButton(QStringLiteral("TimesSpin"), dialog);
  auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
  ok->setObjectName(QStringLiteral("OKBtn"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
  cancel->setObjectName(QStringLiteral("CancelBtn"));

  layout.addWidget(namedLabel(QStringLiteral("Label2"), QStringLiteral("Repeat times:"), dialog),
                   row, 0);
  auto* field = new QHBoxLayout;
  field->setSpacing(0);
  field->addWidget(&times);
  field->addWidget(spin);
  layout.addLayout(field, row, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout.addLayout(buttons, row + 1, 0, 1, 2);

  setUpRepeatTimes(context, times, *spin);
  return {ok, cancel};
}

std::optional<int> acceptedRepeatTimes(AdminContext& context, QWidget* dialog, QLineEdit& times) {
  const auto value = digitsValue(times.text(), kMaxRepeatTimes);
  if (!value) {
    context.ui().message(dialog, numberRefusal(times.text(), kMaxRepeatTimes), kErrorTitle);
    times.setFocus();
    times.selectAll();
  }
  return value;
}

}  // namespace orvane::admin
