// Control names. Every widget's objectName is its name as the product's
// design gives it ("OKBtn", "Device", "mnuSearch"). Members of a control
// array carry their index in parentheses: "ComOption(1)" .. "ComOption(8)",
// "BaudCheck(0)" .. "BaudCheck(7)", "OrvComm(3)". Every window uses this one
// scheme, so tests find any control with findChild by that name.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QString>

namespace orvane::admin {

inline QString indexedName(const QString& arrayName, int index) {
  return arrayName + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

// A label that carries its control name.
inline QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

// A push button that carries its control name and is no default button:
// Enter stays with the window's default button or its entry field.
inline QPushButton* namedButton(const QString& name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

}  // namespace orvane::admin
