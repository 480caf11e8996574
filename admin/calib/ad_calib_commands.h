// The analog input calibration without widgets: the reference values of each
// input range, the guide texts, the commands of each step, and the
// cold-junction temperature as it is read, shown and corrected.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::admin {

// Chosen at step 2 by OffsetBtn, SpanBtn or CJCBtn.
enum class CalibrationKind { Offset = 0, Span = 1, ColdJunction = 2 };

// The reference the user applies for the offset and the span step ("0 mV",
// "+55 mV", "200 ohms"); empty for a TypeCode without one (0x17 to 0x1F and
// beyond 0x2A).
QString zeroValue(int typeCode);
QString spanValue(int typeCode);

// Guide text of step 1 to 3; the third by the model's three-character code
// (empty for a model without one, and for any other step).
QString adGuideText(int step, std::string_view familyKey);

// Only 7213 and 7234 have a cold-junction sensor.
bool offersColdJunction(std::string_view familyKey);

// "1" (offset) or "0" (span) after "$AA"; nothing for the cold junction,
// which has its own sequence.
std::string_view calibrationBody(CalibrationKind kind);

// "$AA9+0000": the cold-junction offset cleared before the temperature is
// read again.
inline constexpr std::string_view kClearColdJunction = "9+0000";
// "$AA3": the cold-junction temperature.
inline constexpr std::string_view kReadColdJunction = "3";

// The temperature of a "$AA3" exchange: the decimal number after ">", or
// nullopt when the exchange failed or the reply is no ">" reply holding
// one number.
std::optional<float> coldJunctionTemperature(bool exchangeOK, const std::string& reply);

// A temperature as Temperature shows it, one decimal and no zero before the
// point (0.5 gives ".5") with the user's decimal separator; "*error*" for a
// failed read.
QString temperatureText(std::optional<float> temperature, char decimalSeparator);

// The cold-junction offset for a difference of target minus temperature:
// "9", the sign ("-" below 0, else "+"), and the steps of 0.0153 degrees
// rounded half to even as four hexadecimal digits ("9+0055" for 1.3).
// nullopt when the steps do not fit four digits (about 1003 degrees or more).
std::optional<std::string> coldJunctionOffsetBody(float difference);

}  // namespace orvane::admin
