// The "Repeat times:" field shared by RepeatForm and RepeatCmdForm: digits
// only, a spin button that never goes below 1 nor above 32767, and OK refused
// with a message while the field is empty or above 32767.
#pragma once

#include <QString>
#include <optional>
#include <string>

class QGridLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace orvane::admin {

class AdminContext;

inline constexpr int kMaxRepeatTimes = 32767;

// The field's text after a click on the spin button's up or down arrow. An
// empty field counts as 0; down leaves 1 and less as they are.
QString timesSpunUp(const QString& text);
QString timesSpunDown(const QString& text);

// The command in its field of exactly 16 characters: padded with blanks or
// cut.
std::string repeatCommandField(const QString& typed);

struct DialogButtons {
  QPushButton* ok;
  QPushButton* cancel;
};

// Lays out "Repeat times:" with the field and its spin button at the row, and
// OK (the default button) and Cancel on the row below.
DialogButtons addRepeatTimesRows(AdminContext& context, QGridLayout& layout, int row,
                                 QLineEdit& times, QWidget* dialog);

// The count in the field, or nullopt after telling the user why it is
// refused (the field then has the focus).
std::optional<int> acceptedRepeatTimes(AdminContext& context, QWidget* dialog, QLineEdit& times);

}  // namespace orvane::admin
