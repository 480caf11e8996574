// Texts the diagnostic windows and the monitor show, as plain functions.
#pragma once

#include <QString>

namespace orvane::admin {

// The address in decimal and in hexadecimal: 10 gives "10 (0AH)".
QString addressCaption(int address);

}  // namespace orvane::admin
