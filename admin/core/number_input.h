// Numbers typed into dialogs. An empty field, a character that is not a
// digit or a value beyond the limit is refused, never taken as 0 and never
// allowed to end the program.
#pragma once

#include <QString>
#include <optional>

namespace orvane::admin {

// A value as the user reads it and edits it: the shortest fixed-notation text
// that reads back to the same value (0.0005, never 5e-04), with the user's
// decimal separator (7.25 shows as "7,25" on a German desktop). A
// single-precision value is written with the digits it holds.
QString shownNumber(double value, char decimalSeparator);
QString shownNumber(float value, char decimalSeparator);

// A number the user typed, with the decimal separator or ".": nullopt when
// the field is empty or holds anything but one decimal number.
std::optional<double> typedNumber(const QString& text, char decimalSeparator);

// The value of a text of decimal digits (blanks at both ends ignored), or
// nullopt when it is empty, holds another character or exceeds the limit.
std::optional<int> digitsValue(const QString& text, int limit = 32767);

}  // namespace orvane::admin

namespace orvane::admin {

// Why a typed number is refused: "Please input a number." for an empty
// field or one with another character, "Number can not exceed <limit>." for
// one too large; empty when the number is fine.
QString numberRefusal(const QString& text, int limit = 32767);

}  // namespace orvane::admin
