// The polarity list of the digital I/O and analog output dialogs: position 0
// "Not change" keeps the lines as wired, position 1 "Change!" inverts them.
#pragma once

#include <QString>

class QComboBox;
class QWidget;

namespace orvane::admin {

QComboBox* makePolarityList(const QString& name, QWidget* parent);

}  // namespace orvane::admin
