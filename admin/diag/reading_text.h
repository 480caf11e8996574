// Readings as the diagnostic windows show them and plot them.
#pragma once

#include <QString>
#include <string>

namespace orvane::admin {

// A reading in engineering units as the window shows it: "+" before a value
// of 0 or more, the value's own "-" otherwise, the user's decimal separator;
// any other text ("*error*") as it is.
QString shownReading(const std::string& value, char decimalSeparator);

// The value of a reading for the trend; NaN for "*error*" or any text that
// is not a number, so a failed reading is a gap and never 0.
double readingValue(const std::string& value);

}  // namespace orvane::admin
