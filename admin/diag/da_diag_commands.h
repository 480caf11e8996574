// The output commands and shown values of the 7342 test window. Its bar
// runs from 0 to 32000 across the output range; what goes on the wire
// depends on the module's data format.
#pragma once

#include <string>

namespace orvane::admin {

inline constexpr int kDaScrollMax = 32000;

// The low end of the output range: 4 for "4 to 20mA", else 0.
float daLowEnd(int typeCode);

// The output at a bar position in engineering units. A range the model does
// not have keeps the value at 0.
float daOutputValue(int typeCode, int position);

// An output value as the window shows it ("12.500"), with the user's
// decimal separator.
std::string daShownValue(float value, char decimalSeparator);

// What follows "#AA" to set the output to the bar position: the value
// ("12.500") in engineering units, "+" and the percentage ("+025.00") in
// % of FSR, three hexadecimal digits ("800") in two's complement, nothing in
// any other format. Always "." as the decimal point. Position 0 is the low
// end of the range, where the window puts the output when it opens.
std::string daOutputBody(int typeCode, int dataFormat, int position);

}  // namespace orvane::admin
